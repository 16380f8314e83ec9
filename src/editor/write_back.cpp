// Grid-to-table write-back: the grids' edits into cdsArc and cdsType.

#include "editor/write_back.h"

#include <array>
#include <string>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "host/sql_dialect.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

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

// The number columns in the order they are assigned: 30 (f_jtxe) before 29
// (f_fhjt), as the record table declares them.
constexpr std::array<int, 29> kAssignOrder = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                              12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                              22, 23, 24, 25, 26, 27, 28, 30, 29};

// A field without a value shows as an empty cell or a cleared box. While the
// cell still shows just that, the field keeps having no value, so that a save
// leaves the database's NULL as it was instead of turning it into "" or "0".
void SetUnlessStillNull(RecordTable& record, std::string_view field, const std::string& text,
                        std::string_view shown_for_null) {
  if (IsNull(record.Value(field)) && text == shown_for_null) return;
  record.SetText(field, text);
}

}  // namespace

WriteBackError::WriteBackError(std::string_view type_code, std::string_view header,
                               std::string_view text)
    : std::runtime_error(DescribeBadCell(type_code, header, text)) {}

void TfrmSubsidySet::WriteBackItemGrid() {
  // A table that never loaded holds no record a row could match.
  if (!cdsArc.IsLoaded() || !grids_match_tables_) return;
  const int rows = cgdArc.RowCount();
  for (int row = 1; row < rows; ++row) WriteBackItemRow(row);
}

void TfrmSubsidySet::WriteBackItemRow(int row) {
  if (!cdsArc.IsLoaded() || !grids_match_tables_ || row >= cgdArc.RowCount()) return;
  if (!cdsArc.Locate(kFieldItemCode, {CodeOfRow(row)})) return;
  cdsArc.Edit();
  SetUnlessStillNull(cdsArc, kFieldItemName, Trim(cgdArc.Cells(kItemGridNameColumn, row)), "");
  SetUnlessStillNull(cdsArc, kFieldCategory, Trim(cgdArc.Cells(kItemGridCategoryColumn, row)), "");
  for (size_t i = 0; i < kItemGridFlagColumns.size(); ++i) {
    SetUnlessStillNull(cdsArc, kItemFields[3 + i], CheckFlag(kItemGridFlagColumns[i], row),
                       kFlagClear);
  }
  cdsArc.Post();
  item_changes_.Touch(cdsArc.RecordIndex());
}

void TfrmSubsidySet::WriteBackVehicleGrid(const std::string& item_code) {
  if (!cdsType.IsLoaded() || !grids_match_tables_) return;
  const int rows = cgdType.RowCount();
  std::array<double, kAssignOrder.size()> numbers;
  for (int row = 1; row < rows; ++row) {
    const std::string& type_code = cgdType.Cells(kVehicleGridCodeColumn, row);
    if (!cdsType.Locate(kParameterRowKey, {item_code, type_code})) continue;
    // Every cell of the row is checked before the record changes, so a cell
    // that is not a number leaves the record as it was.
    for (size_t i = 0; i < kAssignOrder.size(); ++i) {
      const std::string cell = Trim(cgdType.Cells(kAssignOrder[i], row));
      const std::string text = ChooseString(cell.empty(), "0", cell);
      try {
        // The record table reads a number field's text the same way.
        numbers[i] = ParseNumber(text);
      } catch (const NumberFormatError&) {
        throw WriteBackError(type_code, kVehicleGridColumns[kAssignOrder[i]].header, text);
      }
    }
    cdsType.Edit();
    for (size_t i = 0; i < kAssignOrder.size(); ++i) {
      cdsType.SetNumber(kVehicleGridColumns[kAssignOrder[i]].field, numbers[i]);
    }
    cdsType.Post();
    parameter_changes_.Touch(cdsType.RecordIndex());
  }
}

}  // namespace tarnvex
