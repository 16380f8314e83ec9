#include "host/record_table.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "text/number_text.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

// "f_a; f_b" -> {"f_a", "f_b"}. An empty name between separators is refused
// rather than skipped, so the names never shift against a list of values.
std::vector<std::string> SplitFieldList(std::string_view list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (true) {
    const size_t end = list.find(';', start);
    names.push_back(Trim(list.substr(start, end == std::string_view::npos ? end : end - start)));
    if (names.back().empty()) {
      throw RecordTableError("字段列表“" + std::string(list) + "”中有空的字段名");
    }
    if (end == std::string_view::npos) return names;
    start = end + 1;
  }
}

// A total order on the values of one column, so that sorting is well defined
// whatever a packet holds: NULL first, numbers ascending with NaN after every
// number, texts byte by byte.
int CompareCells(const CellStore& cells, size_t a, size_t b) {
  const CellStore::Kind kind = cells.kind(a);
  if (kind != cells.kind(b)) return kind < cells.kind(b) ? -1 : 1;
  if (kind == CellStore::Kind::kText) {
    const int order = cells.text(a).compare(cells.text(b));
    return (order > 0) - (order < 0);
  }
  if (kind == CellStore::Kind::kNumber) {
    const double number = cells.number(a);
    const double other = cells.number(b);
    if (std::isnan(number) || std::isnan(other)) return std::isnan(number) - std::isnan(other);
    return (number > other) - (number < other);
  }
  return 0;
}

// Keys of the Locate indexes: the listed fields of a record encoded into one
// byte string, so that equal keys are equal strings. Each field keeps its kind,
// so the parts need no tags. Texts carry their length, so that "a"+"bc" and
// "ab"+"c" differ; numbers carry their bits with -0 folded into 0, as the two
// compare equal.
void AppendTextKey(std::string& key, std::string_view text) {
  const auto length = static_cast<uint64_t>(text.size());
  key.append(reinterpret_cast<const char*>(&length), sizeof length);
  key.append(text);
}

void AppendNumberKey(std::string& key, double number) {
  const uint64_t bits = std::bit_cast<uint64_t>(number == 0 ? 0.0 : number);
  key.append(reinterpret_cast<const char*>(&bits), sizeof bits);
}

// False for a value that equals nothing (NULL, NaN): such a record is never found.
bool AppendValueKey(std::string& key, const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    AppendTextKey(key, *text);
    return true;
  }
  if (const auto* number = std::get_if<double>(&value); number && !std::isnan(*number)) {
    AppendNumberKey(key, *number);
    return true;
  }
  return false;
}

bool AppendCellKey(std::string& key, const CellStore& cells, size_t at) {
  switch (cells.kind(at)) {
    case CellStore::Kind::kText:
      AppendTextKey(key, cells.text(at));
      return true;
    case CellStore::Kind::kNumber:
      if (std::isnan(cells.number(at))) return false;
      AppendNumberKey(key, cells.number(at));
      return true;
    case CellStore::Kind::kNull:
      break;
  }
  return false;
}

// The records holding each key, in storage order.
using KeyIndex = std::unordered_map<std::string, std::vector<size_t>>;

void AddToIndex(KeyIndex& index, const std::string& key, size_t row) {
  std::vector<size_t>& rows = index[key];
  rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
}

void RemoveFromIndex(KeyIndex& index, const std::string& key, size_t row) {
  const auto found = index.find(key);
  if (found == index.end()) return;
  std::vector<size_t>& rows = found->second;
  const auto at = std::lower_bound(rows.begin(), rows.end(), row);
  if (at != rows.end() && *at == row) rows.erase(at);
  if (rows.empty()) index.erase(found);
}

}  // namespace

struct RecordTable::State {
  // Orders rows by the order's fields, ties by storage order: a strict total
  // order, so sorted positions are unique and binary search finds a row. Valid
  // while the content it was made from is neither replaced nor resized.
  class RowLess {
   public:
    explicit RowLess(const State& state)
        : cells_(&state.Content().cells), width_(state.Width()), columns_(&state.order_columns) {}

    bool operator()(size_t a, size_t b) const {
      for (size_t column : *columns_) {
        const int order = CompareCells(*cells_, a * width_ + column, b * width_ + column);
        if (order != 0) return order < 0;
      }
      return a < b;
    }

   private:
    const CellStore* cells_;
    size_t width_;
    const std::vector<size_t>* columns_;
  };

  PacketContent declared;  // the declared fields as columns, without rows
  bool loaded = false;
  // Content this table made itself; packets it handed out may share it. Set,
  // or else `borrowed` holds a loaded packet's content, which is never written.
  std::shared_ptr<PacketContent> own;
  std::shared_ptr<const PacketContent> borrowed = std::make_shared<const PacketContent>();

  std::vector<std::string> order_names;  // as SetOrder got them, to bind at each load
  std::vector<size_t> order_columns;
  std::vector<size_t> walk;  // rows in walking order, kept only while an order is set
  size_t position = 0;       // of the current record in walking order
  bool eof = true;
  std::optional<std::vector<FieldValue>> pending;  // the editable record's values

  // Locate's indexes by field list. A cache: dropped with the rows they index.
  std::map<std::vector<size_t>, KeyIndex> indexes;

  const PacketContent& Content() const { return own ? *own : *borrowed; }
  size_t Width() const { return Content().columns.size(); }
  size_t RowCount() const { return Content().row_count(); }
  FieldValue Cell(size_t row, size_t column) const {
    return Content().cells.Get(row * Width() + column);
  }
  bool Ordered() const { return !order_columns.empty(); }
  size_t RowAt(size_t at) const { return Ordered() ? walk[at] : at; }
  size_t PositionOf(size_t row) const {
    if (!Ordered()) return row;
    return static_cast<size_t>(std::lower_bound(walk.begin(), walk.end(), row, RowLess(*this)) -
                               walk.begin());
  }

  // Copies shared content before the first change after sharing it.
  PacketContent& Writable() {
    if (!own || own.use_count() > 1) {
      own = std::make_shared<PacketContent>(Content());
      borrowed.reset();
    }
    return *own;
  }

  void RequireLoaded(std::string_view action, std::string_view field = {}) const {
    if (!loaded) {
      throw RecordTableError("数据表未打开，不能" + std::string(action) + std::string(field));
    }
  }

  size_t ColumnOf(std::string_view name) const {
    const std::optional<size_t> column = Content().FindColumn(name);
    if (!column) throw RecordTableError("字段 " + std::string(name) + " 不存在");
    return *column;
  }

  std::vector<size_t> ColumnsOf(const std::vector<std::string>& names) const {
    std::vector<size_t> columns;
    columns.reserve(names.size());
    for (const std::string& name : names) columns.push_back(ColumnOf(name));
    return columns;
  }

  // The key of the record whose first cell is at first, or of values not yet posted.
  std::optional<std::string> RowKey(const std::vector<size_t>& columns, size_t first) const {
    std::string key;
    for (size_t column : columns) {
      if (!AppendCellKey(key, Content().cells, first + column)) return std::nullopt;
    }
    return key;
  }
  static std::optional<std::string> RowKey(const std::vector<size_t>& columns,
                                           const std::vector<FieldValue>& values) {
    std::string key;
    for (size_t column : columns) {
      if (!AppendValueKey(key, values[column])) return std::nullopt;
    }
    return key;
  }

  KeyIndex& IndexFor(const std::vector<size_t>& columns) {
    auto [at, created] = indexes.try_emplace(columns);
    if (created) {
      const size_t width = Width();
      // Sized once: growing it key by key rehashes a large table many times.
      at->second.reserve(RowCount());
      for (size_t row = 0; row < RowCount(); ++row) {
        if (auto key = RowKey(columns, row * width)) {
          at->second[*key].push_back(row);
        }
      }
    }
    return at->second;
  }

  void RebuildWalk() {
    walk.clear();
    if (!Ordered()) return;
    walk.resize(RowCount());
    std::iota(walk.begin(), walk.end(), size_t{0});
    std::sort(walk.begin(), walk.end(), RowLess(*this));
  }

  // Writes the editable record back, moving it in every index whose key it
  // changes and, under an order, to its sorted place.
  void Post() {
    if (!pending) return;
    PacketContent& content = Writable();
    const size_t row = RowAt(position);
    const size_t first = row * content.columns.size();
    for (auto& [columns, index] : indexes) {
      std::optional<std::string> old_key = RowKey(columns, first);
      std::optional<std::string> new_key = RowKey(columns, *pending);
      if (old_key == new_key) continue;
      if (old_key) RemoveFromIndex(index, *old_key, row);
      if (new_key) AddToIndex(index, *new_key, row);
    }
    if (Ordered()) walk.erase(walk.begin() + static_cast<std::ptrdiff_t>(position));
    for (size_t column = 0; column < pending->size(); ++column) {
      content.cells.Set(first + column, (*pending)[column]);
    }
    pending.reset();
    if (Ordered()) {
      // Every other record keeps its place, so one sorted insertion restores the order.
      position = PositionOf(row);
      walk.insert(walk.begin() + static_cast<std::ptrdiff_t>(position), row);
    }
  }

  size_t EditableColumn(std::string_view name) const {
    if (!pending) throw RecordTableError("记录不在编辑状态，不能修改字段 " + std::string(name));
    return ColumnOf(name);
  }
};

RecordTable::RecordTable() : state_(std::make_unique<State>()) {}

RecordTable::~RecordTable() = default;

void RecordTable::DeclareField(std::string name, FieldKind kind) {
  if (state_->declared.FindColumn(name)) throw RecordTableError("字段 " + name + " 重复声明");
  state_->declared.columns.push_back({.name = std::move(name), .kind = kind});
}

void RecordTable::LoadPacket(const DataPacket& packet) {
  State& state = *state_;
  for (const PacketColumn& field : state.declared.columns) {
    const std::optional<size_t> column = packet.FindColumn(field.name);
    if (!column) throw RecordTableError("数据包中没有字段 " + field.name);
    if (packet.columns()[*column].kind != field.kind) {
      throw RecordTableError("字段 " + field.name + " 在数据包中的类型与声明的不同");
    }
  }
  std::vector<size_t> order_columns;
  for (const std::string& name : state.order_names) {
    const std::optional<size_t> column = packet.FindColumn(name);
    if (!column) throw RecordTableError("数据包中没有排序字段 " + name);
    order_columns.push_back(*column);
  }

  state.borrowed = packet.content();
  state.own.reset();
  state.order_columns = std::move(order_columns);
  state.pending.reset();
  state.indexes.clear();
  state.loaded = true;
  state.RebuildWalk();
  state.position = 0;
  state.eof = state.RowCount() == 0;
}

DataPacket RecordTable::TakePacket() {
  State& state = *state_;
  if (!state.loaded) return DataPacket();
  state.Post();
  if (state.own) return DataPacket(DataPacket::Checked{}, state.own);
  return DataPacket(DataPacket::Checked{}, state.borrowed);
}

bool RecordTable::IsLoaded() const { return state_->loaded; }

void RecordTable::EmptyTable() {
  State& state = *state_;
  state.RequireLoaded("清空");
  state.pending.reset();
  if (state.own && state.own.use_count() == 1) {
    state.own->cells.clear();
  } else {
    auto emptied = std::make_shared<PacketContent>();
    emptied->columns = state.Content().columns;
    state.own = std::move(emptied);
    state.borrowed.reset();
  }
  state.indexes.clear();
  state.walk.clear();
  state.position = 0;
  state.eof = true;
}

void RecordTable::SetOrder(std::string_view field_list) {
  State& state = *state_;
  state.RequireLoaded("排序");
  std::vector<std::string> names;
  if (!Trim(field_list).empty()) names = SplitFieldList(field_list);
  std::vector<size_t> columns = state.ColumnsOf(names);

  state.Post();
  const bool has_current = state.RowCount() > 0;
  const size_t current_row = has_current ? state.RowAt(state.position) : 0;
  state.order_names = std::move(names);
  state.order_columns = std::move(columns);
  state.RebuildWalk();
  if (has_current) state.position = state.PositionOf(current_row);
  state.eof = !has_current;
}

size_t RecordTable::RecordCount() const { return state_->RowCount(); }

void RecordTable::First() {
  State& state = *state_;
  if (!state.loaded) return;
  state.Post();
  state.position = 0;
  state.eof = state.RowCount() == 0;
}

void RecordTable::Next() {
  State& state = *state_;
  if (!state.loaded) return;
  state.Post();
  if (state.eof) return;
  if (state.position + 1 < state.RowCount()) {
    ++state.position;
  } else {
    state.eof = true;
  }
}

bool RecordTable::Eof() const { return state_->eof; }

bool RecordTable::HasField(std::string_view name) const {
  const State& state = *state_;
  return (state.loaded ? state.Content() : state.declared).FindColumn(name).has_value();
}

FieldValue RecordTable::Value(std::string_view name) const {
  const State& state = *state_;
  state.RequireLoaded("读取字段 ", name);
  const size_t column = state.ColumnOf(name);
  if (state.pending) return (*state.pending)[column];
  if (state.RowCount() == 0) return {};
  return state.Cell(state.RowAt(state.position), column);
}

std::string RecordTable::Text(std::string_view name) const {
  FieldValue value = Value(name);
  if (auto* text = std::get_if<std::string>(&value)) return std::move(*text);
  if (const auto* number = std::get_if<double>(&value)) return ShortestNumberText(*number);
  return {};
}

bool RecordTable::Locate(std::string_view field_list, const std::vector<std::string>& values) {
  State& state = *state_;
  state.RequireLoaded("查找记录");
  const std::vector<size_t> columns = state.ColumnsOf(SplitFieldList(field_list));
  if (values.size() != columns.size()) {
    throw RecordTableError("查找字段“" + std::string(field_list) + "”有 " +
                           std::to_string(columns.size()) + " 个，给出的值有 " +
                           std::to_string(values.size()) + " 个");
  }
  state.Post();

  std::string key;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (state.Content().columns[columns[i]].kind == FieldKind::kText) {
      AppendTextKey(key, values[i]);
      continue;
    }
    try {
      AppendNumberKey(key, ParseNumber(values[i]));
    } catch (const NumberFormatError&) {
      return false;  // no number field holds a value that is not a number
    }
  }

  const KeyIndex& index = state.IndexFor(columns);
  const auto found = index.find(key);
  if (found == index.end()) return false;
  const std::vector<size_t>& rows = found->second;
  const size_t row = state.Ordered()
                         ? *std::min_element(rows.begin(), rows.end(), State::RowLess(state))
                         : rows.front();
  state.position = state.PositionOf(row);
  state.eof = false;
  return true;
}

void RecordTable::Insert() {
  State& state = *state_;
  state.RequireLoaded("插入记录");
  if (state.Width() == 0) throw RecordTableError("数据表没有字段，不能插入记录");
  state.Post();
  PacketContent& content = state.Writable();
  const size_t width = content.columns.size();
  content.cells.Grow(width);
  const size_t row = state.RowCount() - 1;
  // A new record holds only NULLs, which no index holds; Post indexes it.
  if (state.Ordered()) {
    state.position = state.PositionOf(row);
    state.walk.insert(state.walk.begin() + static_cast<std::ptrdiff_t>(state.position), row);
  } else {
    state.position = row;
  }
  state.pending.emplace(width);
  state.eof = false;
}

size_t RecordTable::RecordIndex() const {
  const State& state = *state_;
  state.RequireLoaded("定位记录");
  if (state.RowCount() == 0) throw RecordTableError("数据表没有记录，没有当前记录");
  return state.RowAt(state.position);
}

void RecordTable::Edit() {
  State& state = *state_;
  state.RequireLoaded("编辑记录");
  if (state.pending) return;
  if (state.RowCount() == 0) throw RecordTableError("数据表没有记录，不能编辑");
  const size_t row = state.RowAt(state.position);
  std::vector<FieldValue>& values = state.pending.emplace();
  values.reserve(state.Width());
  for (size_t column = 0; column < state.Width(); ++column)
    values.push_back(state.Cell(row, column));
}

void RecordTable::SetText(std::string_view name, std::string_view text) {
  State& state = *state_;
  const size_t at = state.EditableColumn(name);
  const PacketColumn& column = state.Content().columns[at];
  if (column.kind == FieldKind::kText) {
    (*state.pending)[at] = std::string(text);
    return;
  }
  try {
    (*state.pending)[at] = ParseNumber(text);
  } catch (const NumberFormatError&) {
    throw RecordTableError("字段 " + column.name + " 的值“" + std::string(text) +
                           "”不是有效的数字");
  }
}

void RecordTable::SetNumber(std::string_view name, double value) {
  State& state = *state_;
  const size_t at = state.EditableColumn(name);
  const PacketColumn& column = state.Content().columns[at];
  if (!std::isfinite(value)) {
    throw RecordTableError("字段 " + column.name + " 的值不是有限的数字");
  }
  if (column.kind == FieldKind::kText) {
    (*state.pending)[at] = ShortestNumberText(value);
  } else {
    (*state.pending)[at] = value;
  }
}

void RecordTable::SetNull(std::string_view name) {
  State& state = *state_;
  const size_t at = state.EditableColumn(name);
  (*state.pending)[at] = std::monostate{};
}

void RecordTable::Post() { state_->Post(); }

std::vector<PacketColumn> RecordTable::Fields() const {
  const State& state = *state_;
  return (state.loaded ? state.Content() : state.declared).columns;
}

}  // namespace tarnvex
