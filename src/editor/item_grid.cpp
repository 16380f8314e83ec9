// The item grid: what it shows, creating an item by typing its code, and the
// rules of its keys, clicks and row moves.

#include <string>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

// The row tag of a row that a fill put there (ColumnGrid::RowTag).
constexpr int kFilledRowTag = 1;

constexpr char kCodeTakenText[] = "该编码已存在,请重新输入!";

}  // namespace

void TfrmSubsidySet::ShowItems(ItemScope scope, const std::string& key) {
  switch (scope) {
    case ItemScope::kAll: {
      DataPacket packet;
      if (RunQuery(kLoadItemsSql, packet)) FillGrid(FillMode::kAllItems, packet, "");
      break;
    }
    case ItemScope::kCategory:
      FillGrid(FillMode::kCategory, DataPacket(), key);
      break;
    case ItemScope::kItem:
      FillGrid(FillMode::kItem, DataPacket(), key);
      break;
  }
}

void TfrmSubsidySet::FillItemRow(const RecordTable& record, int row) {
  cgdArc.SetCells(kItemGridCodeColumn, row, record.Text(kFieldItemCode));
  cgdArc.SetCells(kItemGridNameColumn, row, record.Text(kFieldItemName));
  cgdArc.SetCells(kItemGridCategoryColumn, row, record.Text(kFieldCategory));
  for (size_t i = 0; i < kItemGridFlagColumns.size(); ++i) {
    const bool set = record.Text(kItemFields[3 + i]) == kFlagSet;
    cgdArc.SetCells(kItemGridFlagColumns[i], row, set ? ColumnGrid::kTicked : ColumnGrid::kCleared);
  }
  cgdArc.SetRowTag(row, kFilledRowTag);
}

void TfrmSubsidySet::FillAllItems(RecordTable& source) {
  const int records = static_cast<int>(source.RecordCount());
  if (records >= cgdArc.RowCount()) {
    for (int n = records - cgdArc.RowCount() + 1; n > 0; --n) cgdArc.InsertRow(cgdArc.RowCount());
  }
  int row = 1;
  for (source.First(); !source.Eof(); source.Next()) FillItemRow(source, row++);
}

void TfrmSubsidySet::FillMatchingItems(std::string_view field, const std::string& key) {
  int row = 1;
  for (cdsArc.First(); !cdsArc.Eof(); cdsArc.Next()) {
    if (cdsArc.Text(field) != key) continue;
    FillItemRow(cdsArc, row);
    ++row;
    cgdArc.InsertRow(row);
  }
  if (CodeOfRow(row).empty() && cgdArc.RowCount() > 2) cgdArc.RemoveRow(row);
}

void TfrmSubsidySet::AppendItem(const std::string& code, const std::string& name,
                                const std::string& category) {
  cdsArc.Insert();
  cdsArc.SetText(kFieldItemCode, code);
  cdsArc.SetText(kFieldItemName, name);
  cdsArc.SetText(kFieldCategory, category);
  for (size_t i = 3; i < kItemFields.size(); ++i) cdsArc.SetText(kItemFields[i], kFlagClear);
  cdsArc.Post();
}

bool TfrmSubsidySet::CreateParameterRows(const std::string& code) {
  for (cdsCX.First(); !cdsCX.Eof(); cdsCX.Next()) {
    const std::string type_code = cdsCX.Text(kFieldTypeCode);
    if (cdsType.IsLoaded() && cdsType.Locate(kParameterRowKey, {code, type_code})) return false;
    cdsType.Insert();
    cdsType.SetText(kFieldItemCode, code);
    cdsType.SetText(kFieldTypeCode, type_code);
    for (const char* field : kParameterFields) cdsType.SetNumber(field, 0);
    cdsType.Post();
  }
  return true;
}

std::string TfrmSubsidySet::CheckFlag(int col, int row) const {
  return cgdArc.Ticked(col, row) ? kFlagSet : kFlagClear;
}

TfrmSubsidySet::RowConfirmation TfrmSubsidySet::ConfirmNewRow(int row, const std::string& code) {
  if (cdsArc.IsLoaded() && cdsArc.Locate(kFieldItemCode, {code})) {
    return RowConfirmation::kCodeTaken;
  }
  // Parameter rows of the code without its item: nothing is confirmed.
  if (!CreateParameterRows(code)) return RowConfirmation::kParametersExist;
  cgdArc.SetCells(kItemGridMarkerColumn, row, kCreatedRowMarker);
  // The vehicle-type grid shows the current row's parameters only.
  if (row == cgdArc.Row()) FillGrid(FillMode::kVehicleTypes, cdsType.TakePacket(), code);
  AppendItem(code, "", "");
  NoteEdit();
  return RowConfirmation::kConfirmed;
}

bool TfrmSubsidySet::ConfirmTypedRows() {
  // Rows left from before a reload were confirmed before it, or discarded.
  if (!grids_match_tables_) return true;
  for (int row = 1; row < cgdArc.RowCount(); ++row) {
    const std::string code = CodeOfRow(row);
    if (code.empty() || !IsNewItemRow(row)) continue;
    std::string refusal;
    if (!cdsArc.IsLoaded() || !cdsType.IsLoaded() || cdsCX.RecordCount() == 0) {
      refusal = "没有车型,不能新增津贴项目!";
    } else if (ConfirmNewRow(row, code) != RowConfirmation::kConfirmed) {
      refusal = kCodeTakenText;
    } else {
      continue;
    }
    // Where the operator can mend it; the typed row stays as it is.
    cgdArc.MoveTo(kItemGridCodeColumn, row);
    Screen.SetFocus(cgdArc);
    ShowErrorNotice(cgdArc.handle(), "第" + std::to_string(row) + "行：" + refusal);
    return false;
  }
  return true;
}

bool TfrmSubsidySet::HasTypedRows() const {
  if (!grids_match_tables_) return false;
  for (int row = 1; row < cgdArc.RowCount(); ++row) {
    if (!CodeOfRow(row).empty() && IsNewItemRow(row)) return true;
  }
  return false;
}

bool TfrmSubsidySet::IsNewItemRow(int row) const {
  return cgdArc.RowTag(row) != kFilledRowTag &&
         cgdArc.Cells(kItemGridMarkerColumn, row) != kCreatedRowMarker;
}

void TfrmSubsidySet::ApplyMeasureColumnsOfRow(int row) {
  // The flags' texts live until the end of the statement, past the call.
  ApplyMeasureColumns({.piece = CheckFlag(kMeasureGroups[0].item_grid_column, row),
                       .distance = CheckFlag(kMeasureGroups[1].item_grid_column, row),
                       .time = CheckFlag(kMeasureGroups[2].item_grid_column, row),
                       .route = CheckFlag(kMeasureGroups[3].item_grid_column, row),
                       .combined = CheckFlag(kMeasureGroups[4].item_grid_column, row)});
}

void TfrmSubsidySet::cgdArcKeyDown(KeyCode key) {
  const int row = cgdArc.Row();
  const bool last_row = row == cgdArc.RowCount() - 1;
  const std::string code = CodeOfRow(row);
  if (key == kKeyReturn && cgdArc.Col() == kItemGridRemarkColumn) {
    if (last_row && !code.empty()) {
      cgdArc.InsertRow(row + 1);
      cgdArc.MoveTo(kItemGridCodeColumn, row + 1);
    }
  } else if (key == kKeyReturn && cgdArc.Col() == kItemGridCodeColumn) {
    // Only a new row takes a code: on a filled or created row the code is its
    // item's own, and emptying it would lose the row's edits.
    if (code.empty() || !IsNewItemRow(row)) return;
    if (ConfirmNewRow(row, code) == RowConfirmation::kCodeTaken) {
      ShowErrorNotice(cgdArc.handle(), kCodeTakenText);
      cgdArc.SetCells(kItemGridCodeColumn, row, "");
    }
  } else if (key == kKeyUp) {
    if (last_row && code.empty() && cgdArc.RowCount() > 2) cgdArc.RemoveRow(row);
  } else if (key == kKeyDown) {
    if (last_row && !code.empty()) {
      cgdArc.InsertRow(row + 1);
      cgdArc.MoveTo(kItemGridCodeColumn, row + 1);
    }
  }
}

void TfrmSubsidySet::cgdArcClick() { ApplyMeasureColumnsOfRow(cgdArc.Row()); }

void TfrmSubsidySet::cgdArcCheckChanged(int col, int row) {
  for (const MeasureGroup& group : kMeasureGroups) {
    if (group.item_grid_column == col) {
      ApplyMeasureColumnsOfRow(row);
      return;
    }
  }
}

void TfrmSubsidySet::cgdArcRowChanging(int old_row, int /*new_row*/) {
  const std::string code = CodeOfRow(old_row);
  if (!code.empty()) WriteBackVehicleGrid(code);
}

void TfrmSubsidySet::cgdArcSelectCell(int /*col*/, int row) {
  if (!EditorFlags().LoadDone || row == cgdArc.Row()) return;
  const std::string code = cgdArc.Cells(kItemGridCodeColumn, row);
  ClearGrid(EditorGrid::kVehicleGrid);
  FillGrid(FillMode::kVehicleTypes, cdsType.TakePacket(), code);
  ApplyMeasureColumnsOfRow(row);
}

}  // namespace tarnvex
