#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/grid_services.h"
#include "widgets/column_grid.h"
#include "widgets/platform.h"

namespace tarnvex {

class GridController;

// The last block pasted into either grid, for Ctrl+Z: one for the editor, so
// that Ctrl+Z takes back only the latest paste.
struct PastedBlock {
  struct Cell {
    int col;
    int row;
    std::string before;
    std::string after;
  };
  const GridController* owner = nullptr;
  // What the grid showed (GridController::ShownContent), which the undo must
  // find again.
  std::string content;
  std::vector<Cell> cells;
};

// The rules of one of the editor's grids: what a cell takes and how a refusal
// names it, the blocks copied and pasted, and the operator's edits. The rules
// both grids share are here; what differs lives in the grid's own controller
// (ItemGridController, VehicleGridController), which the form owns.
class GridController {
 public:
  GridController(GridServices& services, Platform& platform, ColumnGrid& grid,
                 std::string_view operation, PastedBlock& last_paste);
  virtual ~GridController() = default;
  GridController(const GridController&) = delete;
  GridController& operator=(const GridController&) = delete;

  ColumnGrid& grid() { return grid_; }
  const ColumnGrid& grid() const { return grid_; }
  // The words naming the grid's events in an error box ("项目编辑").
  std::string_view operation() const { return operation_; }

  // What a cell takes: one rule that typing, pasting into a cell and block
  // pastes all ask. Why text cannot go into the cell; empty when it can,
  // value then being the cell's text to be.
  std::string CellRefusal(int col, int row, const std::string& text, std::string& value) const;
  // Why a cell's text cannot stay as the cell is left; empty when it can,
  // text then in its shown form.
  virtual std::string LeaveRefusal(int col, std::string& text) const;
  // The words naming a cell in a refusal: its row's code and its header.
  std::string DescribeCell(int col, int row) const;
  // The message about the current cell when the operator changed it and its
  // text cannot stay; empty when it can.
  std::string RefusalOfEditedCell() const;

  // The grid's events.
  // The operator types a character into the current cell.
  void KeyPress(char& ch);
  // A cell left with text: refused, the operator stays there with a message.
  void CellExit(int col, int row, std::string& text, bool& accept);
  // A paste into a cell being edited that the cell's key filter refused,
  // told as a refused block is.
  void PasteRefused(int col, int row, const std::string& text);
  // Ctrl+C puts the block on the clipboard as tab-separated lines; Ctrl+V
  // fills the cells from the current one to the right and down, each as if
  // typed there, all or nothing; Ctrl+Z takes the last paste back while its
  // cells still hold what it put.
  void BlockCommand(tarnvex::BlockCommand command);
  // The operator changed a cell of row.
  virtual void Edited(int row);

 protected:
  // Empties the grid down to one blank data row.
  void ClearRows();
  // What this grid's own columns refuse of a text that passed the rules of
  // every grid; empty when the cell takes it.
  virtual std::string ColumnRefusal(int col, int row, const std::string& text) const = 0;
  // The words naming row in a refusal; empty for none.
  virtual std::string DescribeRow(int row) const = 0;
  // What the grid shows now, in words a paste's undo must find again.
  virtual std::string ShownContent() const { return {}; }
  // After a paste or its undo changed cells of the grid.
  virtual void CellsPasted() {}

  GridServices& services_;
  Platform& platform_;
  ColumnGrid& grid_;

 private:
  void CopyBlock();
  void PasteBlock();
  void UndoPaste();
  void ShowPasteRefused(int col, int row, const std::string& refusal, const std::string& text);

  std::string_view operation_;
  PastedBlock& last_paste_;
};

}  // namespace tarnvex
