// tarnvex-db: creates the editor's tables (with the demo data if asked), and runs
// a query or a statement batch through the stand-in data service, printing what
// the editor would get back. Output is UTF-8; results are tab-separated.

#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/data_packet.h"
#include "host/variant.h"
#include "standin/embedded_sql.h"
#include "standin/odbc.h"
#include "standin/standin_service.h"
#include "text/codepage.h"
#include "text/number_text.h"

namespace tarnvex {
namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "usage:\n"
    "  tarnvex-db create (--connect STRING | --sqlite FILE) [--replace] [--demo]\n"
    "  tarnvex-db query  (--connect STRING | --sqlite FILE) [--kind WORD] SQL\n"
    "  tarnvex-db exec   (--connect STRING | --sqlite FILE) [--kind WORD] SQL\n"
    "\n"
    "create   makes the tables tbdyjtxmda, tbdyjtxmlb and tbdycxda; --replace drops\n"
    "         them first, --demo fills them with the demo data; all in one transaction\n"
    "query    runs one query and prints its columns and rows, tab-separated\n"
    "exec     runs statements separated by \";\" in one transaction\n"
    "--connect  an ODBC connection string, e.g. \"Driver=SQLite3;Database=/tmp/demo.db;\"\n"
    "--sqlite   short for --connect \"Driver=SQLite3;Database=FILE;\"\n"
    "--kind     the word the service reports as its database kind (e.g. SQLSERVER)\n";

struct Options {
  std::u16string command;
  std::optional<std::u16string> connection_string;
  std::u16string kind;
  bool replace = false;
  bool demo = false;
  std::optional<std::u16string> sql;
};

// A command line the tool cannot follow; what() says why, in ASCII.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

Options ParseArguments(const std::vector<std::u16string>& arguments) {
  if (arguments.empty()) throw UsageError("no command given");
  Options options;
  options.command = arguments[0];
  if (options.command != u"create" && options.command != u"query" && options.command != u"exec") {
    throw UsageError("unknown command \"" + Utf8(options.command) + "\"");
  }
  auto value_of = [&](size_t& i) -> const std::u16string& {
    if (i + 1 >= arguments.size()) throw UsageError(Utf8(arguments[i]) + " needs a value");
    return arguments[++i];
  };
  auto set_connection = [&](std::u16string connection_string) {
    if (options.connection_string) throw UsageError("give either --connect or --sqlite, once");
    options.connection_string = std::move(connection_string);
  };
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (argument == u"--connect") {
      set_connection(value_of(i));
    } else if (argument == u"--sqlite") {
      const std::u16string& file = value_of(i);
      // A ";" would end the attribute and let the rest be read as attributes.
      if (file.find_first_of(u";{}") != std::u16string::npos) {
        throw UsageError("the SQLite file name must not contain ';', '{' or '}'");
      }
      set_connection(u"Driver=SQLite3;Database=" + file + u";");
    } else if (argument == u"--kind" && options.command != u"create") {
      options.kind = value_of(i);
    } else if (argument == u"--replace" && options.command == u"create") {
      options.replace = true;
    } else if (argument == u"--demo" && options.command == u"create") {
      options.demo = true;
    } else if (argument.starts_with(u"--") || options.command == u"create" || options.sql) {
      throw UsageError("unexpected argument \"" + Utf8(argument) + "\"");
    } else {
      options.sql = argument;
    }
  }
  if (!options.connection_string) throw UsageError("--connect or --sqlite is required");
  if (options.command != u"create" && !options.sql) throw UsageError("the SQL text is missing");
  return options;
}

void PrintErrorLines(const Variant& error) {
  if (error.kind() != Variant::Kind::kArray) {
    std::cerr << "error: the service gave no error lines\n";
    return;
  }
  for (const Variant& line : error.as_array().elements) {
    std::optional<std::u16string> text = line.ToWideText();
    std::cerr << "error: " << (text ? Utf8(*text) : std::string("(not a text)")) << '\n';
  }
}

// A cell on one line of tab-separated output: tabs, line breaks and backslashes
// are written as \t, \n, \r and \\.
std::string CellText(const FieldValue& value) {
  if (IsNull(value)) return "";
  if (const double* number = std::get_if<double>(&value)) return ShortestNumberText(*number);
  std::string text;
  for (char c : Utf8(Cp936ToUtf16(std::get<std::string>(value)))) {
    switch (c) {
      case '\t':
        text += "\\t";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\r':
        text += "\\r";
        break;
      case '\\':
        text += "\\\\";
        break;
      default:
        text += c;
    }
  }
  return text;
}

void PrintPacket(const DataPacket& packet) {
  for (size_t column = 0; column < packet.columns().size(); ++column) {
    std::cout << (column == 0 ? "" : "\t") << Utf8(Cp936ToUtf16(packet.columns()[column].name));
  }
  std::cout << '\n';
  for (size_t row = 0; row < packet.row_count(); ++row) {
    for (size_t column = 0; column < packet.columns().size(); ++column) {
      std::cout << (column == 0 ? "" : "\t") << CellText(packet.cell(row, column));
    }
    std::cout << '\n';
  }
}

bool RunQuery(StandinDataService& service, std::u16string_view sql) {
  Variant result;
  if (!service.ExecuteQuery(Variant(std::u16string(sql)), result)) {
    PrintErrorLines(result);
    return false;
  }
  PrintPacket(DataPacket::FromVariant(result));
  return true;
}

bool RunStatements(StandinDataService& service, Variant statements) {
  if (!service.ExecuteStatement(statements)) {
    PrintErrorLines(statements);
    return false;
  }
  return true;
}

// The number of rows of a table, as the first cell of a count query.
std::string RowCount(StandinDataService& service, std::u16string_view table) {
  Variant result;
  if (!service.ExecuteQuery(Variant(u"select count(*) from " + std::u16string(table)), result)) {
    return "?";
  }
  DataPacket packet = DataPacket::FromVariant(result);
  return packet.row_count() == 1 && packet.columns().size() == 1 ? CellText(packet.cell(0, 0))
                                                                 : "?";
}

bool Create(StandinDataService& service, const Options& options) {
  VariantArray texts;
  if (options.replace) texts.elements.emplace_back(std::u16string(kDropSql));
  texts.elements.emplace_back(std::u16string(kSchemaSql));
  if (options.demo) texts.elements.emplace_back(std::u16string(kDemoSql));
  if (!RunStatements(service, Variant(std::move(texts)))) return false;
  std::cout << "created tbdyjtxmda, tbdyjtxmlb, tbdycxda\n";
  if (options.demo) {
    std::cout << "demo data: " << RowCount(service, u"tbdyjtxmda") << " items, "
              << RowCount(service, u"tbdycxda") << " vehicle types, "
              << RowCount(service, u"tbdyjtxmlb") << " parameter rows\n";
  }
  return true;
}

int Run(const std::vector<std::u16string>& arguments) {
  Options options;
  try {
    options = ParseArguments(arguments);
  } catch (const UsageError& error) {
    std::cerr << "tarnvex-db: " << error.what() << "\n\n" << kUsage;
    return kExitUsage;
  }
  StandinConfig config;
  config.connection_string = *options.connection_string;
  config.database_kind = Utf16ToCp936(options.kind);
  try {
    StandinDataService service(std::move(config));
    bool ok = false;
    if (options.command == u"create") {
      ok = Create(service, options);
    } else if (options.command == u"query") {
      ok = RunQuery(service, *options.sql);
    } else {
      ok = RunStatements(service, Variant(*options.sql));
      if (ok) std::cout << "OK\n";
    }
    return ok ? 0 : kExitFailed;
  } catch (const OdbcError& error) {
    std::cerr << "tarnvex-db: cannot use the database\n";
    for (const std::u16string& line : error.diagnostics())
      std::cerr << "error: " << Utf8(line) << '\n';
    return kExitFailed;
  } catch (const std::exception& error) {
    std::cerr << "tarnvex-db: " << Utf8(Cp936ToUtf16(error.what())) << '\n';
    return kExitFailed;
  }
}

}  // namespace
}  // namespace tarnvex

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view argument(argv[i]);
    arguments.emplace_back(argument.begin(), argument.end());
  }
  return tarnvex::Run(arguments);
}
#else
int main(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(tarnvex::Utf8ToUtf16(argv[i]));
  return tarnvex::Run(arguments);
}
#endif
