#include "standin/host_app/host_options.h"

#include <optional>
#include <utility>

#include "embedding/plugin_context.h"
#include "text/codepage.h"

namespace tarnvex {

const char kHostUsage[] =
    "tarnvex-host [--operator 代码] [--kind 数据库类型] [--refuse 功能代码]...\n"
    "             [--plugin DLL] (--connect ODBC连接串 | --sqlite 文件 | 文件)\n"
    "\n"
    "--operator  传给插件的操作员代码（默认为空）\n"
    "--kind      GetDatabaseKind 的回答，如 SQLSERVER（默认按数据库引擎）\n"
    "--refuse    CheckRight 对该功能代码回答否，可重复\n"
    "--plugin    插件文件（默认 SubsidySet.dll）\n"
    "--sqlite    即 --connect \"Driver=SQLite3;Database=文件;\"";

HostOptions ParseHostOptions(const std::vector<std::u16string>& arguments) {
  HostOptions options;
  std::optional<std::u16string> connection_string;
  std::vector<std::u16string> refused;
  auto value_of = [&](size_t& i) -> const std::u16string& {
    if (i + 1 >= arguments.size()) {
      throw HostUsageError(Utf16ToCp936(arguments[i]) + " 缺少取值");
    }
    return arguments[++i];
  };
  auto set_connection = [&](std::u16string text) {
    if (connection_string) throw HostUsageError("数据库只能给出一次");
    connection_string = std::move(text);
  };
  auto set_sqlite_file = [&](const std::u16string& file) {
    // A ";" or a brace would end the attribute and smuggle in others.
    if (file.find_first_of(u";{}") != std::u16string::npos) {
      throw HostUsageError("SQLite 文件名不能含有 ; { }");
    }
    set_connection(u"Driver=SQLite3;Database=" + file + u";");
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (argument == u"--operator") {
      options.operator_code = Utf16ToCp936(value_of(i));
      if (options.operator_code.size() > kMaxOperatorCodeBytes) {
        throw HostUsageError("操作员代码不能超过 255 字节");
      }
    } else if (argument == u"--kind") {
      options.service.database_kind = Utf16ToCp936(value_of(i));
    } else if (argument == u"--refuse") {
      refused.push_back(value_of(i));
    } else if (argument == u"--plugin") {
      const std::u16string& path = value_of(i);
      options.plugin_path.assign(path.begin(), path.end());
    } else if (argument == u"--connect") {
      set_connection(value_of(i));
    } else if (argument == u"--sqlite") {
      set_sqlite_file(value_of(i));
    } else if (argument.starts_with(u"--")) {
      throw HostUsageError("未知选项 " + Utf16ToCp936(argument));
    } else {
      set_sqlite_file(argument);
    }
  }
  if (!connection_string) throw HostUsageError("没有给出数据库");
  options.service.connection_string = std::move(*connection_string);
  for (std::u16string& function_code : refused) {
    options.service.refused_rights.push_back(
        {Cp936ToUtf16(options.operator_code), std::move(function_code)});
  }
  return options;
}

}  // namespace tarnvex
