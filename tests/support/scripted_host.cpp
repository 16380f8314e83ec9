#include "support/scripted_host.h"

#include <set>

#include "editor/data_model.h"
#include "text/codepage.h"

namespace tarnvex::testing {

Variant ScriptedHost::GetDatabaseKind() {
  if (throw_on_kind) throw HostCallError("GetDatabaseKind: the host object is gone");
  return kind;
}

bool ScriptedHost::ExecuteQuery(const Variant& sql, Variant& result) {
  const std::string text = Utf16ToCp936(sql.as_string());
  queries.push_back(text);
  auto found = answers_.find(text);
  if (found == answers_.end()) {
    result = Variant(VariantArray{0, {Variant(u"unexpected query")}});
    return false;
  }
  const Answer& answer = found->second;
  switch (answer.kind) {
    case Answer::Kind::kPacket:
      result = answer.packet.ToVariant();
      return true;
    case Answer::Kind::kErrorLines: {
      VariantArray lines;
      for (const std::string& line : answer.lines)
        lines.elements.push_back(Variant::FromText(line));
      result = Variant(std::move(lines));
      return false;
    }
    case Answer::Kind::kThrow:
      throw HostCallError(answer.lines.front());
  }
  return false;
}

bool ScriptedHost::ExecuteStatement(Variant& statements) {
  statements = Variant(VariantArray{0, {Variant(u"statements are not scripted")}});
  return false;
}

bool ScriptedHost::CheckRight(const std::u16string& operator_code,
                              const std::u16string& function_code) {
  right_checks.emplace_back(operator_code, function_code);
  return right;
}

DataPacket ItemsPacket(const std::vector<std::vector<std::string>>& rows) {
  DataPacketBuilder builder;
  for (const char* field : kItemFields) builder.AddColumn(field, FieldKind::kText);
  for (const auto& row : rows) {
    for (size_t i = 0; i < kItemFields.size(); ++i) {
      builder.AppendCell(i < row.size() ? row[i] : std::string(kFlagClear));
    }
  }
  return builder.Build();
}

DataPacket ParametersPacket(const std::vector<std::vector<std::string>>& rows) {
  DataPacketBuilder builder;
  builder.AddColumn(kFieldItemCode, FieldKind::kText);
  builder.AddColumn(kFieldTypeCode, FieldKind::kText);
  for (const char* field : kParameterFields) builder.AddColumn(field, FieldKind::kFloat);
  builder.AddColumn(kFieldTypeName, FieldKind::kText);
  for (const auto& row : rows) {
    builder.AppendCell(row.at(0));
    builder.AppendCell(row.at(1));
    for (size_t i = 0; i < kParameterFields.size(); ++i) builder.AppendCell(0.0);
    builder.AppendCell(row.size() > 2 ? row[2] : std::string());
  }
  return builder.Build();
}

DataPacket TextColumnPacket(const std::string& column, const std::vector<std::string>& values) {
  DataPacketBuilder builder;
  builder.AddColumn(column, FieldKind::kText);
  for (const std::string& value : values) builder.AppendCell(value);
  return builder.Build();
}

void ScriptCatalogue(ScriptedHost& host, const std::vector<std::vector<std::string>>& items,
                     const std::vector<std::vector<std::string>>& parameters,
                     const std::vector<std::string>& vehicle_types) {
  host.Script(kLoadItemsSql, ScriptedHost::Rows(ItemsPacket(items)));
  host.Script(kLoadParametersSql, ScriptedHost::Rows(ParametersPacket(parameters)));
  host.Script(kLoadVehicleTypesSql, ScriptedHost::Rows(TextColumnPacket("f_cxbm", vehicle_types)));
  std::set<std::string> categories;
  for (const auto& item : items) categories.insert(item.at(2));
  host.Script("select distinct f_lb from tbdyjtxmda order by f_lb",
              ScriptedHost::Rows(TextColumnPacket(
                  "f_lb", std::vector<std::string>(categories.begin(), categories.end()))));
  for (const std::string& category : categories) {
    DataPacketBuilder builder;
    builder.AddColumn(kFieldItemCode, FieldKind::kText);
    builder.AddColumn(kFieldItemName, FieldKind::kText);
    for (const auto& item : items) {
      if (item.at(2) != category) continue;
      builder.AppendCell(item.at(0));
      builder.AppendCell(item.at(1));
    }
    host.Script("select f_jtxmbm,f_jtxmmc from tbdyjtxmda where f_lb='" + category + "'",
                ScriptedHost::Rows(builder.Build()));
  }
}

}  // namespace tarnvex::testing
