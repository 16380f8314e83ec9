// Blocks of cells to and from a spreadsheet: copying a block of either grid as
// tab-separated lines, pasting such lines over the cells from the current one
// on, all or nothing, and taking the last paste back.

#include <string>
#include <vector>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "widgets/cell_block.h"

namespace tarnvex {

void TfrmSubsidySet::GridBlockCommand(ColumnGrid& grid, BlockCommand command) {
  switch (command) {
    case BlockCommand::kCopy:
      CopyBlock(grid);
      break;
    case BlockCommand::kPaste:
      PasteBlock(grid);
      break;
    case BlockCommand::kUndo:
      UndoPaste(grid);
      break;
  }
}

void TfrmSubsidySet::CopyBlock(const ColumnGrid& grid) {
  // What the operator sees: hidden columns inside the block are left out.
  const CellBlock block = grid.Block();
  BlockLines lines;
  for (int row = block.top; row <= block.bottom; ++row) {
    std::vector<std::string>& line = lines.emplace_back();
    for (int col = block.left; col <= block.right; ++col) {
      if (grid.Column(col).visible) line.push_back(grid.Cells(col, row));
    }
  }
  platform().SetClipboardText(FormatBlockText(lines));
}

void TfrmSubsidySet::ShowPasteRefused(const ColumnGrid& grid, int col, int row,
                                      const std::string& refusal, const std::string& text) {
  ShowErrorNotice(grid.handle(),
                  "粘贴被取消：" + DescribeCell(grid, col, row) + refusal + "：“" + text + "”");
}

void TfrmSubsidySet::GridPasteRefused(const ColumnGrid& grid, int col, int row,
                                      const std::string& text) {
  // Text pasted into a cell being edited, refused by the rule of what the
  // cell takes.
  std::string value;
  const std::string refusal = CellRefusal(grid, col, row, text, value);
  ShowPasteRefused(grid, col, row, refusal.empty() ? "含有不能输入的字符" : refusal, text);
}

void TfrmSubsidySet::PasteBlock(ColumnGrid& grid) {
  const BlockLines lines = ParseBlockText(platform().ClipboardText().value_or(""));
  PastedBlock paste{.grid = &grid, .item_code = CodeOfRow(cgdArc.Row()), .cells = {}};
  // Cell by cell, left to right and down, each as if typed there and left,
  // so that a code pasted into a new row lets the row take the category
  // pasted beside it. One refused value takes back what went in before it.
  for (size_t line = 0; line < lines.size(); ++line) {
    for (size_t cell = 0; cell < lines[line].size(); ++cell) {
      const int col = grid.Col() + static_cast<int>(cell);
      const int row = grid.Row() + static_cast<int>(line);
      const std::string& text = lines[line][cell];
      std::string value;
      std::string refusal = CellRefusal(grid, col, row, text, value);
      if (refusal.empty()) refusal = LeaveRefusal(grid, col, value);
      if (!refusal.empty()) {
        for (auto undo = paste.cells.rbegin(); undo != paste.cells.rend(); ++undo) {
          grid.SetCells(undo->col, undo->row, undo->before);
        }
        ShowPasteRefused(grid, col, row, refusal, text);
        return;
      }
      paste.cells.push_back({col, row, grid.Cells(col, row), value});
      grid.SetCells(col, row, std::move(value));
    }
  }
  if (paste.cells.empty()) return;
  for (const PastedCell& cell : paste.cells) GridEdited(grid, cell.row);
  // Ticks pasted into the current row show or hide their measure columns as
  // ticking them does.
  if (&grid == &cgdArc) ApplyMeasureColumnsOfRow(cgdArc.Row());
  last_paste_ = std::move(paste);
}

void TfrmSubsidySet::UndoPaste(ColumnGrid& grid) {
  if (last_paste_.grid != &grid || last_paste_.cells.empty()) return;
  // Only over the cells it filled: not once they were typed over or the grid
  // shows another item's parameters.
  if (&grid == &cgdType && last_paste_.item_code != CodeOfRow(cgdArc.Row())) return;
  for (const PastedCell& cell : last_paste_.cells) {
    if (cell.row >= grid.RowCount() || grid.Cells(cell.col, cell.row) != cell.after) return;
  }
  for (const PastedCell& cell : last_paste_.cells) {
    grid.SetCells(cell.col, cell.row, cell.before);
    GridEdited(grid, cell.row);
  }
  last_paste_ = {};
  if (&grid == &cgdArc) ApplyMeasureColumnsOfRow(cgdArc.Row());
}

}  // namespace tarnvex
