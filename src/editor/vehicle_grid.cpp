// The vehicle-type grid: one item's parameter rows, its measure columns and
// colours, and what may be typed into it.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

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

}  // namespace

void TfrmSubsidySet::FillVehicleTypes(const DataPacket& packet, const std::string& code) {
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
    std::array<size_t, kVehicleGridColumns.size()> source_col{};
    for (int col = kVehicleGridFirstNumberColumn; col <= kVehicleGridLastNumberColumn; ++col) {
      source_col[col] = ColumnIndex(packet, kVehicleGridColumns[col].field);
    }
    for (size_t record : rows) {
      cgdType.SetCells(kVehicleGridCodeColumn, row, FieldText(packet.cell(record, type_col)));
      cgdType.SetCells(kVehicleGridNameColumn, row,
                       name_col ? FieldText(packet.cell(record, *name_col)) : std::string());
      for (int col = kVehicleGridFirstNumberColumn; col <= kVehicleGridLastNumberColumn; ++col) {
        cgdType.SetCells(col, row, ParameterText(packet.cell(record, source_col[col])));
      }
      ++row;
      cgdType.InsertRow(row);
    }
  }
  if (Trim(cgdType.Cells(kVehicleGridCodeColumn, row)).empty() && cgdType.RowCount() > 2) {
    cgdType.RemoveRow(row);
  }
}

void TfrmSubsidySet::PaintMeasureColours() {
  for (int row = 1; row < cgdType.RowCount(); ++row) {
    for (const MeasureGroup& group : kMeasureGroups) {
      for (int i = 0; i < kMeasureGroupWidth; ++i) {
        cgdType.SetCellColour(group.first_vehicle_grid_column + i, row, group.colour);
      }
    }
  }
  for (int row = 1; row < cgdArc.RowCount(); ++row) {
    for (const MeasureGroup& group : kMeasureGroups) {
      cgdArc.SetCellColour(group.item_grid_column, row, group.colour);
    }
  }
}

void TfrmSubsidySet::ApplyMeasureColumns(const MeasureFlags& flags) {
  if (!cgdType.Showing()) return;
  for (int col = 0; col < cgdType.ColumnCount(); ++col) cgdType.SetColumnVisible(col, true);
  const std::array<std::string_view, kMeasureGroups.size()> flag_of_group = {
      flags.piece, flags.distance, flags.time, flags.route, flags.combined};
  for (size_t g = 0; g < kMeasureGroups.size(); ++g) {
    if (flag_of_group[g] != kFlagClear) continue;
    for (int i = 0; i < kMeasureGroupWidth; ++i) {
      cgdType.SetColumnVisible(kMeasureGroups[g].first_vehicle_grid_column + i, false);
    }
  }
  for (int col = kVehicleGridFirstNumberColumn; col <= kVehicleGridLastNumberColumn; ++col) {
    if (cgdType.Column(col).visible) cgdType.SetColumnWidth(col, kVehicleGridShownWidth);
  }
}

}  // namespace tarnvex
