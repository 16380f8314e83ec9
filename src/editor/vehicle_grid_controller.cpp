// The vehicle-type grid: one item's parameter rows, its measure columns and
// colours, what may be typed into it, and its write-back.

#include "editor/vehicle_grid_controller.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <string>
#include <variant>
#include <vector>

#include "editor/data_model.h"
#include "host/sql_dialect.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

constexpr char kOnlyDigits[] = "只能输入数字和小数点";

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Parameters are numbers; a NULL one reads as 0, as a number field does.
std::string ParameterText(const FieldValue& value) {
  if (const auto* number = std::get_if<double>(&value)) return FormatNumber(*number);
  if (const auto* text = std::get_if<std::string>(&value)) return FormatNumber(ParseNumber(*text));
  return FormatNumber(0);
}

// Ascending as a record table orders a text field: NULL first, then texts byte
// by byte.
bool TypeCodeLess(const FieldValue& a, const FieldValue& b) {
  if (IsNull(b)) return false;
  if (IsNull(a)) return true;
  return FieldText(a) < FieldText(b);
}

std::string DescribeBadCell(std::string_view type_code, std::string_view header,
                            std::string_view text) {
  std::string message = "车型编码“";
  message += type_code;
  message += "”的“";
  message += header;
  message += "”不是数字：";
  message += text;
  return message;
}

std::string NumberRefusal(const std::string& text, std::string& shown) {
  // Blanks around it are no part of it; an empty cell is 0, as the
  // write-back reads it.
  const std::string value = Trim(text);
  int digits = 0;
  int points = 0;
  for (char ch : value) {
    if (IsDigit(ch)) {
      ++digits;
    } else if (ch == '.') {
      ++points;
    } else {
      return "不是数字";
    }
  }
  if (value.empty()) {
    shown = FormatNumber(0);
    return "";
  }
  if (digits == 0 || points > 1) return "不是数字";
  const double number = ParseNumber(value);
  if (!(std::fabs(std::round(number * 100) / 100) < kParameterLimit)) {
    return "超出了范围(绝对值须小于1000000000000)";
  }
  shown = FormatNumber(number);
  return "";
}

bool ParameterCharPasses(char ch) {
  // Digits and the point make a number; "(" and the minus sign never do.
  return IsDigit(ch) || ch == '.' || ch == kCharBackspace || ch == kCharReturn;
}

}  // namespace

WriteBackError::WriteBackError(std::string_view type_code, std::string_view header,
                               std::string_view text)
    : std::runtime_error(DescribeBadCell(type_code, header, text)) {}

VehicleGridController::VehicleGridController(GridServices& services, Platform& platform,
                                             ColumnGrid& grid, EditorTables& tables,
                                             PastedBlock& last_paste,
                                             std::function<std::string()> shown_item)
    : GridController(services, platform, grid, "车型参数编辑", last_paste),
      tables_(tables),
      shown_item_(std::move(shown_item)) {}

void VehicleGridController::Fill(const std::string& code) {
  const DataPacket& packet = tables_.parameters.TakePacket();
  // Only the item's own rows are ordered, not every parameter row. The index
  // gives them in storage order and the sort is stable, so vehicle types that
  // tie keep the order a full copy ordered by f_cxbm would give them.
  std::vector<size_t> rows = parameter_index_.RowsOf(packet, code);
  int row = 1;
  if (!rows.empty()) {
    const size_t type_col = ColumnIndex(packet, kFieldTypeCode);
    std::stable_sort(rows.begin(), rows.end(), [&](size_t a, size_t b) {
      return TypeCodeLess(packet.cell(a, type_col), packet.cell(b, type_col));
    });
    // Rows the editor added carry no name: the packet may lack the column.
    const std::optional<size_t> name_col = packet.FindColumn(kFieldTypeName);
    std::array<size_t, kParameterCount> source_col{};
    for (size_t i = 0; i < kParameterCount; ++i) {
      source_col[i] = ColumnIndex(packet, kVehicleGridColumns[kVehicleGridNumberColumns[i]].field);
    }
    for (size_t record : rows) {
      grid_.SetCells(kVehicleGridCodeColumn, row, FieldText(packet.cell(record, type_col)));
      grid_.SetCells(kVehicleGridNameColumn, row,
                     name_col ? FieldText(packet.cell(record, *name_col)) : std::string());
      for (size_t i = 0; i < kParameterCount; ++i) {
        grid_.SetCells(kVehicleGridNumberColumns[i], row,
                       ParameterText(packet.cell(record, source_col[i])));
      }
      ++row;
      grid_.InsertRow(row);
    }
  }
  if (Trim(grid_.Cells(kVehicleGridCodeColumn, row)).empty() && grid_.RowCount() > 2) {
    grid_.RemoveRow(row);
  }
  services_.PaintMeasureColours();
  // A fill starts at the left and shows the current row.
  grid_.ScrollToX(0);
  grid_.ScrollRowIntoView();
}

void VehicleGridController::PaintMeasureColours() {
  for (int row = 1; row < grid_.RowCount(); ++row) {
    for (int col = 0; col < grid_.ColumnCount(); ++col) {
      const Measure measure = kVehicleGridColumns[col].measure;
      if (measure != Measure::kNone) {
        grid_.SetCellColour(col, row, kMeasureColours[static_cast<size_t>(measure)]);
      }
    }
  }
}

void VehicleGridController::ApplyMeasureColumns(const MeasureFlags& flags) {
  if (!grid_.Showing()) return;
  for (int col = 0; col < grid_.ColumnCount(); ++col) {
    const Measure measure = kVehicleGridColumns[col].measure;
    grid_.SetColumnVisible(col, measure == Measure::kNone || flags[static_cast<size_t>(measure)]);
  }
  for (int col : kVehicleGridNumberColumns) {
    if (grid_.Column(col).visible) grid_.SetColumnWidth(col, kVehicleGridShownWidth);
  }
}

bool VehicleGridController::CreateParameterRows(const std::string& code) {
  RecordTable& types = tables_.vehicle_types;
  RecordTable& parameters = tables_.parameters;
  for (types.First(); !types.Eof(); types.Next()) {
    const std::string type_code = types.Text(kFieldTypeCode);
    if (parameters.IsLoaded() && parameters.Locate(kParameterRowKey, {code, type_code})) {
      return false;
    }
    parameters.Insert();
    parameters.SetText(kFieldItemCode, code);
    parameters.SetText(kFieldTypeCode, type_code);
    for (const char* field : kParameterFields) parameters.SetNumber(field, 0);
    parameters.Post();
  }
  return true;
}

void VehicleGridController::WriteBack(const std::string& item_code) {
  RecordTable& parameters = tables_.parameters;
  if (!parameters.IsLoaded() || !services_.GridsMatchTables()) return;
  const int rows = grid_.RowCount();
  // In the order the record table declares the fields.
  std::array<double, kParameterCount> numbers;
  for (int row = 1; row < rows; ++row) {
    const std::string& type_code = grid_.Cells(kVehicleGridCodeColumn, row);
    if (!parameters.Locate(kParameterRowKey, {item_code, type_code})) continue;
    // Every cell of the row is checked before the record changes, so a cell
    // that is not a number leaves the record as it was.
    for (size_t i = 0; i < kParameterCount; ++i) {
      const int col = kParameterColumnsInFieldOrder[i];
      const std::string cell = Trim(grid_.Cells(col, row));
      const std::string text = ChooseString(cell.empty(), "0", cell);
      try {
        // The record table reads a number field's text the same way.
        numbers[i] = ParseNumber(text);
      } catch (const NumberFormatError&) {
        throw WriteBackError(type_code, kVehicleGridColumns[col].header, text);
      }
    }
    parameters.Edit();
    for (size_t i = 0; i < kParameterCount; ++i)
      parameters.SetNumber(kParameterFields[i], numbers[i]);
    parameters.Post();
    tables_.parameter_changes.Touch(parameters.RecordIndex());
  }
}

std::string VehicleGridController::ColumnRefusal(int /*col*/, int /*row*/,
                                                 const std::string& text) const {
  for (char ch : text) {
    if (!ParameterCharPasses(ch)) return kOnlyDigits;
  }
  return "";
}

std::string VehicleGridController::LeaveRefusal(int col, std::string& text) const {
  if (col < 0 || col >= static_cast<int>(kVehicleGridColumns.size()) ||
      kVehicleGridColumns[col].role != ColumnRole::kNumber) {
    return "";
  }
  std::string shown;
  std::string refusal = NumberRefusal(text, shown);
  if (refusal.empty()) text = std::move(shown);
  return refusal;
}

std::string VehicleGridController::DescribeRow(int row) const {
  // The vehicle type's row belongs to the item the item grid is on.
  std::string words;
  const std::string item = ShownContent();
  if (!item.empty()) words = "项目编码“" + item + "”";
  const std::string& type = grid_.Cells(kVehicleGridCodeColumn, row);
  words += type.empty() ? "第" + std::to_string(row) + "行" : "车型编码“" + type + "”";
  return words;
}

std::string VehicleGridController::ShownContent() const { return shown_item_(); }

}  // namespace tarnvex
