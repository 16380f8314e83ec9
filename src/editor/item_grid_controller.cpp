// The item grid: what it shows, creating an item by typing its code, the
// rules of its cells, keys, clicks and row moves, and its write-back.

#include "editor/item_grid_controller.h"

#include <string>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

// The row tag of a row that a fill put there (ColumnGrid::RowTag).
constexpr int kFilledRowTag = 1;

constexpr char kCodeTakenText[] = "该编码已存在,请重新输入!";

// A field without a value shows as an empty cell or a cleared box. While the
// cell still shows just that, the field keeps having no value, so that a save
// leaves the database's NULL as it was instead of turning it into "" or "0".
void SetUnlessStillNull(RecordTable& record, std::string_view field, const std::string& text,
                        std::string_view shown_for_null) {
  if (IsNull(record.Value(field)) && text == shown_for_null) return;
  record.SetText(field, text);
}

}  // namespace

ItemGridController::ItemGridController(GridServices& services, Platform& platform, ColumnGrid& grid,
                                       EditorTables& tables, PastedBlock& last_paste,
                                       VehicleGridController& vehicles)
    : GridController(services, platform, grid, "项目编辑", last_paste),
      tables_(tables),
      vehicles_(vehicles) {}

void ItemGridController::Show(ItemScope scope, const std::string& key) {
  switch (scope) {
    case ItemScope::kAll: {
      DataPacket packet;
      if (!services_.RunQuery(kLoadItemsSql, packet)) return;
      // The items in code order when the tables are loaded; the query's own
      // order otherwise.
      RecordTable source;
      if (tables_.items.IsLoaded()) {
        source.LoadPacket(tables_.items.TakePacket());
        source.SetOrder(kItemOrder);
      } else {
        source.LoadPacket(packet);
      }
      FillAll(source);
      break;
    }
    case ItemScope::kCategory:
    case ItemScope::kItem:
      if (!EditorFlags().LoadDone) return;
      FillMatching(scope == ItemScope::kCategory ? kFieldCategory : kFieldItemCode, key);
      break;
  }
  services_.PaintMeasureColours();
  // A fill starts at the left and shows the current row: the row the vehicle
  // grid follows must never be out of sight.
  grid_.ScrollToX(0);
  grid_.ScrollRowIntoView();
}

void ItemGridController::Clear() {
  ClearRows();
  // Every row was written back before a refill, or belongs to tables now
  // reloaded.
  edited_rows_.clear();
}

void ItemGridController::PaintMeasureColours() {
  for (int row = 1; row < grid_.RowCount(); ++row) {
    for (const MeasureGroup& group : kMeasureGroups) {
      grid_.SetCellColour(group.item_grid_column, row, group.colour);
    }
  }
}

void ItemGridController::FillRow(const RecordTable& record, int row) {
  for (int col = 0; col < grid_.ColumnCount(); ++col) {
    const ColumnDef& column = kItemGridColumns[col];
    if (column.field == nullptr) continue;
    if (column.role == ColumnRole::kFlag) {
      const bool set = record.Text(column.field) == kFlagSet;
      grid_.SetCells(col, row, set ? ColumnGrid::kTicked : ColumnGrid::kCleared);
    } else {
      grid_.SetCells(col, row, record.Text(column.field));
    }
  }
  grid_.SetRowTag(row, kFilledRowTag);
}

void ItemGridController::FillAll(RecordTable& source) {
  const int records = static_cast<int>(source.RecordCount());
  if (records >= grid_.RowCount()) {
    for (int n = records - grid_.RowCount() + 1; n > 0; --n) grid_.InsertRow(grid_.RowCount());
  }
  int row = 1;
  for (source.First(); !source.Eof(); source.Next()) FillRow(source, row++);
}

void ItemGridController::FillMatching(std::string_view field, const std::string& key) {
  RecordTable& items = tables_.items;
  int row = 1;
  for (items.First(); !items.Eof(); items.Next()) {
    if (items.Text(field) != key) continue;
    FillRow(items, row);
    ++row;
    grid_.InsertRow(row);
  }
  if (CodeOfRow(row).empty() && grid_.RowCount() > 2) grid_.RemoveRow(row);
}

void ItemGridController::AppendItem(const std::string& code, const std::string& name,
                                    const std::string& category) {
  RecordTable& items = tables_.items;
  items.Insert();
  items.SetText(kFieldItemCode, code);
  items.SetText(kFieldItemName, name);
  items.SetText(kFieldCategory, category);
  for (int col : kItemGridFlagColumns) items.SetText(kItemGridColumns[col].field, kFlagClear);
  items.Post();
}

std::string ItemGridController::CheckFlag(int col, int row) const {
  return grid_.Ticked(col, row) ? kFlagSet : kFlagClear;
}

std::string ItemGridController::CodeOfRow(int row) const {
  return Trim(grid_.Cells(kItemGridCodeColumn, row));
}

std::string ItemGridController::CurrentCode() const { return CodeOfRow(grid_.Row()); }

bool ItemGridController::IsNewRow(int row) const {
  return grid_.RowTag(row) != kFilledRowTag &&
         grid_.Cells(kItemGridMarkerColumn, row) != kCreatedRowMarker;
}

bool ItemGridController::HasTypedRows() const {
  if (!services_.GridsMatchTables()) return false;
  for (int row = 1; row < grid_.RowCount(); ++row) {
    if (!CodeOfRow(row).empty() && IsNewRow(row)) return true;
  }
  return false;
}

ItemGridController::RowConfirmation ItemGridController::ConfirmNewRow(int row,
                                                                      const std::string& code) {
  if (tables_.items.IsLoaded() && tables_.items.Locate(kFieldItemCode, {code})) {
    return RowConfirmation::kCodeTaken;
  }
  // Parameter rows of the code without its item: nothing is confirmed.
  if (!vehicles_.CreateParameterRows(code)) return RowConfirmation::kParametersExist;
  grid_.SetCells(kItemGridMarkerColumn, row, kCreatedRowMarker);
  // The vehicle-type grid shows the current row's parameters only.
  if (row == grid_.Row()) vehicles_.Fill(code);
  AppendItem(code, "", "");
  services_.NoteEdit();
  return RowConfirmation::kConfirmed;
}

bool ItemGridController::ConfirmTypedRows() {
  // Rows left from before a reload were confirmed before it, or discarded.
  if (!services_.GridsMatchTables()) return true;
  for (int row = 1; row < grid_.RowCount(); ++row) {
    const std::string code = CodeOfRow(row);
    if (code.empty() || !IsNewRow(row)) continue;
    std::string refusal;
    if (!tables_.items.IsLoaded() || !tables_.parameters.IsLoaded() ||
        tables_.vehicle_types.RecordCount() == 0) {
      refusal = "没有车型,不能新增津贴项目!";
    } else if (ConfirmNewRow(row, code) != RowConfirmation::kConfirmed) {
      refusal = kCodeTakenText;
    } else {
      continue;
    }
    // Where the operator can mend it; the typed row stays as it is.
    grid_.MoveTo(kItemGridCodeColumn, row);
    services_.Focus(grid_);
    services_.ShowErrorNotice(grid_.handle(), "第" + std::to_string(row) + "行：" + refusal);
    return false;
  }
  return true;
}

void ItemGridController::ApplyMeasureColumnsOfRow(int row) {
  MeasureFlags flags{};
  for (size_t m = 0; m < kMeasureGroups.size(); ++m) {
    flags[m] = grid_.Ticked(kMeasureGroups[m].item_grid_column, row);
  }
  vehicles_.ApplyMeasureColumns(flags);
}

void ItemGridController::WriteBack() {
  // A table that never loaded holds no record a row could match.
  if (!tables_.items.IsLoaded() || !services_.GridsMatchTables()) return;
  const int rows = grid_.RowCount();
  for (int row = 1; row < rows; ++row) WriteBackRow(row);
}

void ItemGridController::WriteBackRow(int row) {
  RecordTable& items = tables_.items;
  if (!items.IsLoaded() || !services_.GridsMatchTables() || row >= grid_.RowCount()) return;
  if (!items.Locate(kFieldItemCode, {CodeOfRow(row)})) return;
  items.Edit();
  for (int col = 0; col < grid_.ColumnCount(); ++col) {
    const ColumnDef& column = kItemGridColumns[col];
    switch (column.role) {
      case ColumnRole::kName:
      case ColumnRole::kCategory:
        SetUnlessStillNull(items, column.field, Trim(grid_.Cells(col, row)), "");
        break;
      case ColumnRole::kFlag:
        SetUnlessStillNull(items, column.field, CheckFlag(col, row), kFlagClear);
        break;
      case ColumnRole::kKey:  // found by, never changed
      case ColumnRole::kNumber:
      case ColumnRole::kMarker:
        break;
    }
  }
  items.Post();
  tables_.item_changes.Touch(items.RecordIndex());
}

void ItemGridController::WriteBackEditedRows() {
  for (int row : edited_rows_) WriteBackRow(row);
  edited_rows_.clear();
}

void ItemGridController::KeyDown(KeyCode key) {
  const int row = grid_.Row();
  const bool last_row = row == grid_.RowCount() - 1;
  const std::string code = CodeOfRow(row);
  if (key == kKeyReturn && grid_.Col() == kItemGridRemarkColumn) {
    if (last_row && !code.empty()) {
      grid_.InsertRow(row + 1);
      grid_.MoveTo(kItemGridCodeColumn, row + 1);
    }
  } else if (key == kKeyReturn && grid_.Col() == kItemGridCodeColumn) {
    // Only a new row takes a code: on a filled or created row the code is its
    // item's own, and emptying it would lose the row's edits.
    if (code.empty() || !IsNewRow(row)) return;
    if (ConfirmNewRow(row, code) == RowConfirmation::kCodeTaken) {
      services_.ShowErrorNotice(grid_.handle(), kCodeTakenText);
      grid_.SetCells(kItemGridCodeColumn, row, "");
    }
  } else if (key == kKeyUp) {
    if (last_row && code.empty() && grid_.RowCount() > 2) grid_.RemoveRow(row);
  } else if (key == kKeyDown) {
    if (last_row && !code.empty()) {
      grid_.InsertRow(row + 1);
      grid_.MoveTo(kItemGridCodeColumn, row + 1);
    }
  }
}

void ItemGridController::Click() { ApplyMeasureColumnsOfRow(grid_.Row()); }

void ItemGridController::CheckChanged(int col, int row) {
  if (kItemGridColumns[col].measure != Measure::kNone) ApplyMeasureColumnsOfRow(row);
}

void ItemGridController::RowChanging(int old_row) {
  const std::string code = CodeOfRow(old_row);
  if (!code.empty()) vehicles_.WriteBack(code);
}

void ItemGridController::SelectCell(int row) {
  // While the grids show the tables, the vehicle-type grid always shows the
  // current row's item, so that its write-back never reaches another item.
  if (!services_.GridsMatchTables() || row == grid_.Row()) return;
  const std::string code = grid_.Cells(kItemGridCodeColumn, row);
  vehicles_.Clear();
  vehicles_.Fill(code);
  ApplyMeasureColumnsOfRow(row);
}

void ItemGridController::Edited(int row) {
  edited_rows_.insert(row);
  GridController::Edited(row);
}

std::string ItemGridController::ColumnRefusal(int col, int row, const std::string& /*text*/) const {
  switch (kItemGridColumns[col].role) {
    case ColumnRole::kKey:
      // An item's code is the key of its records: only a new row takes one.
      return IsNewRow(row) ? "" : "不能修改";
    case ColumnRole::kCategory:
      return CodeOfRow(row).empty() ? "须先输入项目编码" : "";
    default:
      return "";
  }
}

std::string ItemGridController::DescribeRow(int row) const {
  const std::string code = CodeOfRow(row);
  return code.empty() ? "第" + std::to_string(row) + "行" : "项目编码“" + code + "”";
}

void ItemGridController::CellsPasted() {
  // Ticks pasted into the current row show or hide their measure columns as
  // ticking them does.
  ApplyMeasureColumnsOfRow(grid_.Row());
}

}  // namespace tarnvex
