#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "widgets/column_grid.h"
#include "widgets/control.h"
#include "widgets/text_editor.h"

namespace tarnvex {

// The columns of the editor's two grids, one table each. Everything else about
// a column is derived from its row here: the fields the record tables
// declare, what a fill puts in the cell and the write-back takes out, the tick
// columns, the measure groups, the column lists of the save statements and
// the keys of the settings file (the header). Adding a column is adding a row.

inline constexpr char kFieldItemCode[] = "f_jtxmbm";
inline constexpr char kFieldItemName[] = "f_jtxmmc";
inline constexpr char kFieldCategory[] = "f_lb";
inline constexpr char kFieldRemark[] = "f_bz";
inline constexpr char kFieldTypeCode[] = "f_cxbm";
inline constexpr char kFieldTypeName[] = "f_cxmc";

// The most an item's texts take, in bytes of code page 936, wherever they are
// typed or pasted (the add dialog's edits, the item grid's cells): code 15,
// name 30, category 20. A host's columns tbdyjtxmda.f_jtxmbm, f_jtxmmc and
// f_lb (and tbdyjtxmlb.f_jtxmbm) must hold at least that many bytes; the
// stand-in's hold 20, 60 and 20 (standin/sql/schema.sql).
inline constexpr size_t kItemCodeMaxBytes = 15;
inline constexpr size_t kItemNameMaxBytes = 30;
inline constexpr size_t kCategoryMaxBytes = 20;

// What a column is to the editor.
enum class ColumnRole {
  kKey,       // the code its record is found by; the item's is typed on a new row only
  kName,      // a text of the record; the vehicle type's is shown only
  kCategory,  // the item's category, picked from a list
  kFlag,      // a tick box, stored as "1" or "0"
  kNumber,    // a parameter: a floating-point field shown as "0.00"
  kMarker,    // hidden: kCreatedRowMarker on a row the operator created by typing its code
};

// The five measures. Each is a flag of an item and a group of parameter
// columns that show only while the flag is set, in a colour of its own.
enum class Measure { kPiece, kDistance, kTime, kRoute, kCombined, kNone };
inline constexpr size_t kMeasureCount = static_cast<size_t>(Measure::kNone);
// Piece, distance, time, route, combined.
inline constexpr std::array<Colour, kMeasureCount> kMeasureColours = {0xA613EC, 0x7B7004, 0xA45B71,
                                                                      0x808000, 0x85708F};

struct ColumnDef {
  const char* header;  // also the column's key in the settings file
  const char* field;   // nullptr for the marker, which has none
  ColumnRole role;
  int width;
  HorizontalAlignment alignment;
  // The operator may not change the cell.
  bool read_only = false;
  // The most bytes of code page 936 the cell takes.
  size_t max_bytes = TextEditor::kNoLimit;
  Measure measure = Measure::kNone;
  // A parameter's place in the record table and in the save statements, from
  // 0; -1 for other columns. It need not be the column's place on screen.
  int field_order = -1;

  constexpr CellKind kind() const {
    return role == ColumnRole::kFlag ? CellKind::kCheckBox : CellKind::kText;
  }
};

namespace grid_columns {

constexpr auto kLeft = HorizontalAlignment::kLeft;
constexpr auto kCentre = HorizontalAlignment::kCentre;
constexpr auto kRight = HorizontalAlignment::kRight;

constexpr ColumnDef Flag(const char* header, const char* field, int width = 30,
                         Measure measure = Measure::kNone) {
  return {header, field, ColumnRole::kFlag, width, kCentre, false, TextEditor::kNoLimit, measure};
}

constexpr ColumnDef Number(const char* header, const char* field, int order,
                           Measure measure = Measure::kNone, int width = 64,
                           HorizontalAlignment alignment = kRight) {
  return {header,  field, ColumnRole::kNumber, width, alignment, false, TextEditor::kNoLimit,
          measure, order};
}

}  // namespace grid_columns

// The item grid cgdArc: one item a row, the rows of tbdyjtxmda (cdsArc), whose
// fields are these columns' in this order.
inline constexpr auto kItemGridColumns = [] {
  using namespace grid_columns;
  return std::to_array<ColumnDef>({
      {"项目编码", kFieldItemCode, ColumnRole::kKey, 60, kLeft, false, kItemCodeMaxBytes},
      {"项目名称", kFieldItemName, ColumnRole::kName, 114, kLeft, false, kItemNameMaxBytes},
      {"类别", kFieldCategory, ColumnRole::kCategory, 42, kLeft, false, kCategoryMaxBytes},
      Flag("计件", "f_jj", 30, Measure::kPiece),
      Flag("计程", "f_jc", 30, Measure::kDistance),
      Flag("计次", "f_jcs"),
      Flag("计时", "f_js", 30, Measure::kTime),
      Flag("按线", "f_ax", 30, Measure::kRoute),
      Flag("并车", "f_bc", 30, Measure::kCombined),
      Flag("输入值", "f_srz", 50),
      Flag("分装", "f_fz"),
      Flag("备注", kFieldRemark),
      {" ", nullptr, ColumnRole::kMarker, 0, kLeft, true},
      Flag("返程", "f_fc"),
  });
}();

// The vehicle-type grid cgdType: the parameter rows (tbdyjtxmlb, cdsType) of
// the item the item grid is on, one vehicle type a row. Its record table
// holds the item's code, the vehicle type's code and the numbers in their
// field order; the name comes from the vehicle types and is never saved.
// 复核津贴 and 津贴限额 are shown crosswise to their field order.
inline constexpr auto kVehicleGridColumns = [] {
  using namespace grid_columns;
  constexpr Measure kPiece = Measure::kPiece;
  constexpr Measure kDistance = Measure::kDistance;
  constexpr Measure kTime = Measure::kTime;
  constexpr Measure kRoute = Measure::kRoute;
  constexpr Measure kCombined = Measure::kCombined;
  constexpr Measure kNone = Measure::kNone;
  return std::to_array<ColumnDef>({
      {"车型编码", kFieldTypeCode, ColumnRole::kKey, 64, kLeft, true},
      {"车型名称", kFieldTypeName, ColumnRole::kName, 73, kLeft, true},
      Number("津贴起点", "f_jtqd", 0, kNone, 62),
      Number("件数起点", "f_jsqd", 1, kPiece, 63),
      Number("件数级差", "f_jsjc", 2, kPiece, 82),
      Number("计件津贴起点", "f_jjjtqd", 3, kPiece, 86),
      Number("计件津贴级差", "f_jjjtjc", 4, kPiece, 55),
      Number("里程起点", "f_lcqd", 5, kDistance, 64),
      Number("里程级差", "f_lcjc", 6, kDistance, 56),
      Number("计程津贴起点", "f_jcjtqd", 7, kDistance),
      Number("计程津贴级差", "f_jcjtjc", 8, kDistance),
      Number("时间起点", "f_sjqd", 9, kTime),
      Number("时间级差", "f_sjjc", 10, kTime),
      Number("计时津贴起点", "f_jsjtqd", 11, kTime),
      Number("计时津贴级差", "f_jsjtjc", 12, kTime),
      Number("线路起点", "f_xlqd", 13, kRoute),
      Number("线路级差", "f_xljc", 14, kRoute),
      Number("计线津贴起点", "f_jxjtqd", 15, kRoute),
      Number("计线津贴级差", "f_jxjtjc", 16, kRoute),
      Number("目地起点", "f_mdqd", 17, kCombined),
      Number("目地级差", "f_mdjc", 18, kCombined),
      Number("并车津贴起点", "f_bcjtqd", 19, kCombined),
      Number("并车津贴级差", "f_bcjtjc", 20, kCombined),
      Number("计次津贴", "f_jcjt", 21),
      Number("批次津贴", "f_pcjt", 22),
      Number("分库津贴", "f_fkjt", 23),
      Number("配送津贴", "f_psjt", 24),
      Number("夜班津贴", "f_ybjt", 25),
      Number("特殊津贴", "f_tsjt", 26),
      Number("复核津贴", "f_fhjt", 28, kNone, 64, kLeft),
      Number("津贴限额", "f_jtxe", 27),
  });
}();

// The width of every shown number column once the measure columns of an
// item are applied.
inline constexpr int kVehicleGridShownWidth = 80;

// The settings file's sections of the grids' column layouts.
inline constexpr char kItemGridSettingsSection[] = "frmSubsidySet1";
inline constexpr char kVehicleGridSettingsSection[] = "frmSubsidySet2";

// ---- Derived from the tables at compile time ----

namespace grid_columns {

// Whether the column shows a field. Told by its role, not by comparing the
// pointer: a sanitized build cannot compare addresses while compiling.
constexpr bool HasField(const ColumnDef& column) { return column.role != ColumnRole::kMarker; }

template <size_t N>
constexpr size_t CountOf(const std::array<ColumnDef, N>& table, ColumnRole role) {
  size_t count = 0;
  for (const ColumnDef& column : table) count += column.role == role ? 1 : 0;
  return count;
}

template <size_t N>
constexpr size_t CountWithField(const std::array<ColumnDef, N>& table) {
  size_t count = 0;
  for (const ColumnDef& column : table) count += HasField(column) ? 1 : 0;
  return count;
}

// The first column of the role; -1 when there is none.
template <size_t N>
constexpr int ColumnOf(const std::array<ColumnDef, N>& table, ColumnRole role) {
  for (size_t col = 0; col < N; ++col) {
    if (table[col].role == role) return static_cast<int>(col);
  }
  return -1;
}

template <size_t N>
constexpr int ColumnOfField(const std::array<ColumnDef, N>& table, std::string_view field) {
  for (size_t col = 0; col < N; ++col) {
    if (HasField(table[col]) && std::string_view(table[col].field) == field) {
      return static_cast<int>(col);
    }
  }
  return -1;
}

// The columns of the role, left to right.
template <size_t Count, size_t N>
constexpr std::array<int, Count> ColumnsOf(const std::array<ColumnDef, N>& table, ColumnRole role) {
  std::array<int, Count> columns{};
  size_t i = 0;
  for (size_t col = 0; col < N; ++col) {
    if (table[col].role == role) columns[i++] = static_cast<int>(col);
  }
  return columns;
}

// The number columns in their field order; every order from 0 taken once.
template <size_t Count, size_t N>
constexpr std::array<int, Count> NumberColumnsInFieldOrder(const std::array<ColumnDef, N>& table) {
  std::array<int, Count> columns{};
  for (size_t order = 0; order < Count; ++order) {
    int found = -1;
    for (size_t col = 0; col < N; ++col) {
      if (table[col].role != ColumnRole::kNumber || table[col].field_order != int(order)) continue;
      if (found != -1) throw "two number columns share a field order";
      found = static_cast<int>(col);
    }
    if (found == -1) throw "a field order is missing";
    columns[order] = found;
  }
  return columns;
}

template <size_t Count, size_t N>
constexpr std::array<const char*, Count> FieldsOf(const std::array<ColumnDef, N>& table,
                                                  const std::array<int, Count>& columns) {
  std::array<const char*, Count> fields{};
  for (size_t i = 0; i < Count; ++i) fields[i] = table[columns[i]].field;
  return fields;
}

template <size_t Count, size_t N>
constexpr std::array<const char*, Count> AllFields(const std::array<ColumnDef, N>& table) {
  std::array<const char*, Count> fields{};
  size_t i = 0;
  for (const ColumnDef& column : table) {
    if (HasField(column)) fields[i++] = column.field;
  }
  return fields;
}

}  // namespace grid_columns

inline constexpr int kItemGridCodeColumn =
    grid_columns::ColumnOf(kItemGridColumns, ColumnRole::kKey);
inline constexpr int kItemGridNameColumn =
    grid_columns::ColumnOf(kItemGridColumns, ColumnRole::kName);
inline constexpr int kItemGridCategoryColumn =
    grid_columns::ColumnOf(kItemGridColumns, ColumnRole::kCategory);
inline constexpr int kItemGridMarkerColumn =
    grid_columns::ColumnOf(kItemGridColumns, ColumnRole::kMarker);
// Enter on the remark column of the last row starts a new row.
inline constexpr int kItemGridRemarkColumn =
    grid_columns::ColumnOfField(kItemGridColumns, kFieldRemark);
static_assert(kItemGridCodeColumn >= 0 && kItemGridNameColumn >= 0 &&
              kItemGridCategoryColumn >= 0 && kItemGridMarkerColumn >= 0 &&
              kItemGridRemarkColumn >= 0);

// cdsArc's fields in declaration order (the columns' with a field, left to
// right): the order of the item statement's insert and update.
inline constexpr std::array kItemFields =
    grid_columns::AllFields<grid_columns::CountWithField(kItemGridColumns)>(kItemGridColumns);
static_assert(std::string_view(kItemFields[0]) == kFieldItemCode,
              "the item's statements find it by its first field");

// The tick columns, left to right.
inline constexpr std::array kItemGridFlagColumns =
    grid_columns::ColumnsOf<grid_columns::CountOf(kItemGridColumns, ColumnRole::kFlag)>(
        kItemGridColumns, ColumnRole::kFlag);

inline constexpr int kVehicleGridCodeColumn =
    grid_columns::ColumnOf(kVehicleGridColumns, ColumnRole::kKey);
inline constexpr int kVehicleGridNameColumn =
    grid_columns::ColumnOf(kVehicleGridColumns, ColumnRole::kName);
static_assert(kVehicleGridCodeColumn >= 0 && kVehicleGridNameColumn >= 0);

inline constexpr size_t kParameterCount =
    grid_columns::CountOf(kVehicleGridColumns, ColumnRole::kNumber);
// The number columns, left to right, and in their field order.
inline constexpr std::array kVehicleGridNumberColumns =
    grid_columns::ColumnsOf<kParameterCount>(kVehicleGridColumns, ColumnRole::kNumber);
inline constexpr std::array kParameterColumnsInFieldOrder =
    grid_columns::NumberColumnsInFieldOrder<kParameterCount>(kVehicleGridColumns);
inline constexpr int kVehicleGridFirstNumberColumn = kVehicleGridNumberColumns.front();
inline constexpr int kVehicleGridLastNumberColumn = kVehicleGridNumberColumns.back();

// cdsType's numbers in declaration order: the order of the parameter
// statement's insert and update.
inline constexpr std::array kParameterFields =
    grid_columns::FieldsOf(kVehicleGridColumns, kParameterColumnsInFieldOrder);
// cdsType's fields: the item's code, the vehicle type's, the numbers.
inline constexpr size_t kParameterRecordFieldCount = kParameterCount + 2;

// A measure's flag column in the item grid, the first of the vehicle-type
// grid's columns it governs, and their colour. Every measure governs
// kMeasureGroupWidth columns side by side.
struct MeasureGroup {
  int item_grid_column;
  int first_vehicle_grid_column;
  Colour colour;
};

namespace grid_columns {

constexpr std::array<MeasureGroup, kMeasureCount> MeasureGroups() {
  std::array<MeasureGroup, kMeasureCount> groups{};
  for (size_t m = 0; m < kMeasureCount; ++m) {
    groups[m] = {-1, -1, kMeasureColours[m]};
    for (size_t col = 0; col < kItemGridColumns.size(); ++col) {
      if (kItemGridColumns[col].measure != Measure(m)) continue;
      if (groups[m].item_grid_column != -1 || kItemGridColumns[col].role != ColumnRole::kFlag) {
        throw "a measure needs one tick column";
      }
      groups[m].item_grid_column = static_cast<int>(col);
    }
    for (size_t col = 0; col < kVehicleGridColumns.size(); ++col) {
      if (kVehicleGridColumns[col].measure != Measure(m)) continue;
      if (groups[m].first_vehicle_grid_column == -1) groups[m].first_vehicle_grid_column = int(col);
    }
    if (groups[m].item_grid_column == -1 || groups[m].first_vehicle_grid_column == -1) {
      throw "a measure needs a tick and parameter columns";
    }
  }
  return groups;
}

// The columns of each measure, which lie side by side; all measures alike.
constexpr int MeasureGroupWidth() {
  int width = -1;
  for (size_t m = 0; m < kMeasureCount; ++m) {
    int count = 0;
    int first = -1;
    for (size_t col = 0; col < kVehicleGridColumns.size(); ++col) {
      if (kVehicleGridColumns[col].measure != Measure(m)) continue;
      if (first == -1) first = int(col);
      if (int(col) != first + count) throw "a measure's columns must lie side by side";
      ++count;
    }
    if (width != -1 && count != width) throw "every measure governs as many columns";
    width = count;
  }
  return width;
}

}  // namespace grid_columns

// Piece, distance, time, route, combined.
inline constexpr std::array<MeasureGroup, kMeasureCount> kMeasureGroups =
    grid_columns::MeasureGroups();
inline constexpr int kMeasureGroupWidth = grid_columns::MeasureGroupWidth();

}  // namespace tarnvex
