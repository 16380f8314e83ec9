// Before a save: the records it will write, read back from the database and
// compared with what this editor read, so that no other operator's saved work
// is written over without the operator knowing.

#include "editor/save_conflicts.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "editor/data_model.h"
#include "editor/sql_literal.h"
#include "editor/subsidy_set_form.h"

namespace tarnvex {

namespace {

constexpr size_t kConflictsListed = 10;

std::string TextOf(const FieldValue& value) {
  const std::string* text = std::get_if<std::string>(&value);
  return text != nullptr ? *text : std::string();
}

const char* KindText(ConflictKind kind) {
  switch (kind) {
    case ConflictKind::kChanged:
      return "已被修改";
    case ConflictKind::kDeleted:
      return "已被删除";
    case ConflictKind::kAdded:
      return "已被新增";
  }
  return "";
}

// No vehicle-type column: the table holds items.
constexpr size_t kNoColumn = static_cast<size_t>(-1);

// A record's key as one string: its item code and, for a parameter row, its
// vehicle type.
std::string KeyOf(const DataPacket& packet, size_t row, size_t code_column, size_t type_column) {
  std::string key = TextOf(packet.cell(row, code_column));
  if (type_column != kNoColumn) {
    key += '\0';
    key += TextOf(packet.cell(row, type_column));
  }
  return key;
}

size_t RequireColumn(const DataPacket& packet, std::string_view name) {
  const std::optional<size_t> column = packet.FindColumn(name);
  if (!column) throw RecordTableError("读回的数据没有字段 " + std::string(name));
  return *column;
}

}  // namespace

std::vector<std::string> ReadBackQueries(std::string_view table,
                                         const std::vector<std::string>& codes) {
  std::vector<std::string> queries;
  for (size_t first = 0; first < codes.size(); first += kReadBackCodesPerQuery) {
    std::string sql = "select * from ";
    sql += table;
    sql += " where f_jtxmbm in (";
    const size_t end = std::min(codes.size(), first + kReadBackCodesPerQuery);
    for (size_t i = first; i < end; ++i) {
      if (i > first) sql += ',';
      AppendSqlLiteral(sql, codes[i]);
    }
    sql += ')';
    queries.push_back(std::move(sql));
  }
  return queries;
}

std::optional<ConflictKind> CompareWithStored(
    const std::optional<ChangeTracker::LoadedRecord>& loaded, const DataPacket* stored,
    size_t stored_row) {
  if (!loaded) {
    return stored != nullptr ? std::optional(ConflictKind::kAdded) : std::nullopt;
  }
  if (stored == nullptr) return ConflictKind::kDeleted;
  const std::vector<PacketColumn>& columns = stored->columns();
  for (size_t column = 0; column < columns.size(); ++column) {
    const std::optional<size_t> mine = loaded->packet.FindColumn(columns[column].name);
    if (!mine) continue;
    if (loaded->packet.cell(loaded->row, *mine) != stored->cell(stored_row, column)) {
      return ConflictKind::kChanged;
    }
  }
  return std::nullopt;
}

std::string ConflictQuestion(const std::vector<SaveConflict>& conflicts) {
  std::string text = "以下记录在您读取之后已被其他人保存过：\n";
  for (size_t i = 0; i < conflicts.size() && i < kConflictsListed; ++i) {
    const SaveConflict& conflict = conflicts[i];
    text += conflict.item_code;
    if (!conflict.item_name.empty()) text += " " + conflict.item_name;
    if (!conflict.type_code.empty()) text += " 车型" + conflict.type_code;
    text += " ";
    text += KindText(conflict.kind);
    text += '\n';
  }
  if (conflicts.size() > kConflictsListed) {
    text += "... 另有" + std::to_string(conflicts.size() - kConflictsListed) + "条\n";
  }
  text += "\n仍要保存,以您的修改为准吗?\n(选“否”则不保存,您的修改仍保留在屏幕上)";
  return text;
}

bool TfrmSubsidySet::ReadBackConflicts(std::vector<SaveConflict>& conflicts) {
  const DataPacket items = cdsArc.TakePacket();
  if (!ReadBackTable(items, item_changes_, "tbdyjtxmda", false, conflicts)) return false;
  if (!ReadBackTable(cdsType.TakePacket(), parameter_changes_, "tbdyjtxmlb", true, conflicts)) {
    return false;
  }
  if (conflicts.empty() || items.columns().empty()) return true;
  // Parameter rows are named by their item's name too.
  const size_t code_column = RequireColumn(items, kFieldItemCode);
  const size_t name_column = RequireColumn(items, kFieldItemName);
  std::unordered_map<std::string, std::string> names;
  for (size_t row = 0; row < items.row_count(); ++row) {
    names.emplace(TextOf(items.cell(row, code_column)), TextOf(items.cell(row, name_column)));
  }
  for (SaveConflict& conflict : conflicts) {
    if (const auto found = names.find(conflict.item_code); found != names.end()) {
      conflict.item_name = found->second;
    }
  }
  return true;
}

bool TfrmSubsidySet::ReadBackTable(const DataPacket& current, const ChangeTracker& changes,
                                   const char* table, bool parameter_rows,
                                   std::vector<SaveConflict>& conflicts) {
  const std::vector<size_t> rows = changes.ChangedRows(current);
  if (rows.empty()) return true;
  const size_t code_column = RequireColumn(current, kFieldItemCode);
  const size_t type_column = parameter_rows ? RequireColumn(current, kFieldTypeCode) : kNoColumn;

  std::vector<std::string> codes;
  std::unordered_set<std::string> named;
  for (size_t row : rows) {
    std::string code = TextOf(current.cell(row, code_column));
    if (named.insert(code).second) codes.push_back(std::move(code));
  }

  // Every stored record of those codes, by key.
  std::vector<DataPacket> stored;
  std::unordered_map<std::string, std::pair<size_t, size_t>> stored_rows;
  for (const std::string& sql : ReadBackQueries(table, codes)) {
    DataPacket packet;
    if (!RunQuery(sql, packet)) return false;
    if (packet.columns().empty()) continue;
    const size_t stored_code = RequireColumn(packet, kFieldItemCode);
    const size_t stored_type = parameter_rows ? RequireColumn(packet, kFieldTypeCode) : kNoColumn;
    for (size_t row = 0; row < packet.row_count(); ++row) {
      stored_rows.emplace(KeyOf(packet, row, stored_code, stored_type),
                          std::pair(stored.size(), row));
    }
    stored.push_back(std::move(packet));
  }

  for (size_t row : rows) {
    const auto found = stored_rows.find(KeyOf(current, row, code_column, type_column));
    const DataPacket* stored_packet =
        found != stored_rows.end() ? &stored[found->second.first] : nullptr;
    const size_t stored_row = found != stored_rows.end() ? found->second.second : 0;
    const std::optional<ConflictKind> kind =
        CompareWithStored(changes.Loaded(row), stored_packet, stored_row);
    if (!kind) continue;
    SaveConflict conflict;
    conflict.kind = *kind;
    conflict.item_code = TextOf(current.cell(row, code_column));
    if (parameter_rows) conflict.type_code = TextOf(current.cell(row, type_column));
    conflicts.push_back(std::move(conflict));
  }
  return true;
}

}  // namespace tarnvex
