#pragma once

#include <set>
#include <string>
#include <string_view>

#include "editor/grid_controller.h"
#include "editor/vehicle_grid_controller.h"
#include "host/record_table.h"
#include "widgets/keys.h"

namespace tarnvex {

// What the item grid shows: every item, a category's, or one item.
enum class ItemScope { kAll, kCategory, kItem };

// The item grid cgdArc: one allowance item a row. It fills from cdsArc,
// writes its edits back there, creates an item when the operator types a
// code on a new row, and has the vehicle-type grid follow its current row.
class ItemGridController : public GridController {
 public:
  ItemGridController(GridServices& services, Platform& platform, ColumnGrid& grid,
                     EditorTables& tables, PastedBlock& last_paste,
                     VehicleGridController& vehicles);

  // Fills the grid with the items of the scope, in code order (every item:
  // read from the database when the tables are not loaded yet).
  void Show(ItemScope scope, const std::string& key);
  // Empties the grid down to one blank row.
  void Clear();
  void PaintMeasureColours();

  // A new item of cdsArc with every flag cleared.
  void AppendItem(const std::string& code, const std::string& name, const std::string& category);
  // "1" when the check box at (col, row) shows ticked, else "0".
  std::string CheckFlag(int col, int row) const;
  // The trimmed code of a row, and of the current row.
  std::string CodeOfRow(int row) const;
  std::string CurrentCode() const;
  // Whether row is a new row: neither put there by a fill nor created.
  bool IsNewRow(int row) const;
  // Whether a new row holds a typed code.
  bool HasTypedRows() const;
  // Confirms every new row with a typed code, as Enter on its code does.
  // False, with the cursor on that row's code and a message naming the row,
  // when one cannot be (its code is taken, or there are no vehicle types to
  // give it parameters): the caller then stops.
  bool ConfirmTypedRows();
  // The vehicle-type grid shows the measure columns of the row's ticks.
  void ApplyMeasureColumnsOfRow(int row);

  // The grid's texts and ticks into cdsArc: every row, one row, or the rows
  // edited since the last call.
  void WriteBack();
  void WriteBackRow(int row);
  void WriteBackEditedRows();
  void ForgetEditedRows() { edited_rows_.clear(); }

  // The grid's events.
  void KeyDown(KeyCode key);
  void Click();
  // A tick set or cleared, by Space as by a click: a measure's tick shows or
  // hides its columns of the vehicle-type grid at once.
  void CheckChanged(int col, int row);
  // Leaving a row: the vehicle-type grid's edits go to the row's item.
  void RowChanging(int old_row);
  // Entering a row: the vehicle-type grid shows its item's parameters.
  void SelectCell(int row);
  void Edited(int row) override;

 protected:
  std::string ColumnRefusal(int col, int row, const std::string& text) const override;
  std::string DescribeRow(int row) const override;
  void CellsPasted() override;

 private:
  enum class RowConfirmation { kConfirmed, kCodeTaken, kParametersExist };
  // Confirms a typed code of a new row as Enter does: its item and parameter
  // rows made, the row marked as created.
  RowConfirmation ConfirmNewRow(int row, const std::string& code);
  void FillRow(const RecordTable& record, int row);
  void FillAll(RecordTable& source);
  void FillMatching(std::string_view field, const std::string& key);

  EditorTables& tables_;
  VehicleGridController& vehicles_;
  // Rows edited since the draft last took them.
  std::set<int> edited_rows_;
};

}  // namespace tarnvex
