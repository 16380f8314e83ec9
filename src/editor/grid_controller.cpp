// The rules both grids share: what every cell refuses, how a refusal is told,
// and blocks of cells to and from a spreadsheet.

#include "editor/grid_controller.h"

#include <utility>

#include "editor/data_model.h"
#include "text/trim.h"
#include "widgets/cell_block.h"
#include "widgets/text_editor.h"

namespace tarnvex {

namespace {

// The text without its control characters, which typing never puts in.
std::string WithoutControlCharacters(const std::string& text) {
  std::string kept;
  for (char ch : text) {
    if (!IsTextControlByte(ch)) kept += ch;
  }
  return kept;
}

// A tick box takes what a spreadsheet holds for one: Y or 1 ticked, N, 0 or
// nothing cleared (a new row's boxes copy as nothing). Empty when it is none.
std::string TickText(const std::string& text) {
  const std::string value = Trim(text);
  if (value == "Y" || value == "y" || value == kFlagSet) return ColumnGrid::kTicked;
  if (value.empty() || value == "N" || value == "n" || value == kFlagClear) {
    return ColumnGrid::kCleared;
  }
  return {};
}

}  // namespace

GridController::GridController(GridServices& services, Platform& platform, ColumnGrid& grid,
                               std::string_view operation, PastedBlock& last_paste)
    : services_(services),
      platform_(platform),
      grid_(grid),
      operation_(operation),
      last_paste_(last_paste) {}

std::string GridController::CellRefusal(int col, int row, const std::string& taken,
                                        std::string& value) const {
  const std::string text = WithoutControlCharacters(taken);
  if (col >= grid_.ColumnCount()) return "超出了最后一列";
  if (row >= grid_.RowCount()) return "超出了最后一行";
  const GridColumn& column = grid_.Column(col);
  if (!column.visible) return "没有显示";
  if (column.read_only) return "不能修改";
  if (column.kind == CellKind::kCheckBox) {
    value = TickText(text);
    return value.empty() ? "只能是Y或N" : "";
  }
  if (text.size() > column.max_length) {
    return "超过了" + std::to_string(column.max_length) + "个字节(" + std::to_string(text.size()) +
           "个字节)";
  }
  if (std::string refusal = ColumnRefusal(col, row, text); !refusal.empty()) return refusal;
  value = text;
  return "";
}

std::string GridController::LeaveRefusal(int /*col*/, std::string& /*text*/) const { return ""; }

std::string GridController::DescribeCell(int col, int row) const {
  std::string words = row < grid_.RowCount() ? DescribeRow(row) : std::string();
  if (col < grid_.ColumnCount()) {
    if (!words.empty()) words += "的";
    words += "“" + grid_.Column(col).header + "”";
  }
  return words;
}

std::string GridController::RefusalOfEditedCell() const {
  if (!grid_.cell_edited()) return "";
  std::string text = grid_.Cells(grid_.Col(), grid_.Row());
  const std::string refusal = LeaveRefusal(grid_.Col(), text);
  if (refusal.empty()) return "";
  return DescribeCell(grid_.Col(), grid_.Row()) + refusal + "：“" +
         grid_.Cells(grid_.Col(), grid_.Row()) + "”";
}

void GridController::KeyPress(char& ch) {
  // Backspace and Enter are keys, whatever the cell takes.
  if (ch == kCharBackspace || ch == kCharReturn) return;
  std::string value;
  if (!CellRefusal(grid_.Col(), grid_.Row(), std::string(1, ch), value).empty()) ch = 0;
}

void GridController::CellExit(int col, int row, std::string& text, bool& accept) {
  const std::string typed = text;
  const std::string refusal = LeaveRefusal(col, text);
  if (refusal.empty()) return;
  accept = false;
  services_.Focus(grid_);
  services_.ShowErrorNotice(grid_.handle(), DescribeCell(col, row) + refusal + "：“" + typed + "”");
}

void GridController::ClearRows() {
  for (int row = 1; row < grid_.RowCount(); ++row) {
    for (int col = 0; col < grid_.ColumnCount(); ++col) grid_.SetCells(col, row, "");
    // An emptied row stands for nothing a fill put there.
    grid_.SetRowTag(row, 0);
  }
  if (grid_.RowCount() > 2) grid_.RemoveRows(1, grid_.RowCount() - 2);
}

void GridController::Edited(int /*row*/) { services_.NoteEdit(); }

void GridController::BlockCommand(tarnvex::BlockCommand command) {
  switch (command) {
    case BlockCommand::kCopy:
      CopyBlock();
      break;
    case BlockCommand::kPaste:
      PasteBlock();
      break;
    case BlockCommand::kUndo:
      UndoPaste();
      break;
  }
}

void GridController::CopyBlock() {
  // What the operator sees: hidden columns inside the block are left out.
  const CellBlock block = grid_.Block();
  BlockLines lines;
  for (int row = block.top; row <= block.bottom; ++row) {
    std::vector<std::string>& line = lines.emplace_back();
    for (int col = block.left; col <= block.right; ++col) {
      if (grid_.Column(col).visible) line.push_back(grid_.Cells(col, row));
    }
  }
  platform_.SetClipboardText(FormatBlockText(lines));
}

void GridController::ShowPasteRefused(int col, int row, const std::string& refusal,
                                      const std::string& text) {
  services_.ShowErrorNotice(grid_.handle(),
                            "粘贴被取消：" + DescribeCell(col, row) + refusal + "：“" + text + "”");
}

void GridController::PasteRefused(int col, int row, const std::string& text) {
  // Text pasted into a cell being edited, refused by the rule of what the
  // cell takes.
  std::string value;
  const std::string refusal = CellRefusal(col, row, text, value);
  ShowPasteRefused(col, row, refusal.empty() ? "含有不能输入的字符" : refusal, text);
}

void GridController::PasteBlock() {
  const BlockLines lines = ParseBlockText(platform_.ClipboardText().value_or(""));
  PastedBlock paste{.owner = this, .content = ShownContent(), .cells = {}};
  // Cell by cell, left to right and down, each as if typed there and left,
  // so that a code pasted into a new row lets the row take the category
  // pasted beside it. One refused value takes back what went in before it.
  for (size_t line = 0; line < lines.size(); ++line) {
    for (size_t cell = 0; cell < lines[line].size(); ++cell) {
      const int col = grid_.Col() + static_cast<int>(cell);
      const int row = grid_.Row() + static_cast<int>(line);
      const std::string& text = lines[line][cell];
      std::string value;
      std::string refusal = CellRefusal(col, row, text, value);
      if (refusal.empty()) refusal = LeaveRefusal(col, value);
      if (!refusal.empty()) {
        for (auto undo = paste.cells.rbegin(); undo != paste.cells.rend(); ++undo) {
          grid_.SetCells(undo->col, undo->row, undo->before);
        }
        ShowPasteRefused(col, row, refusal, text);
        return;
      }
      paste.cells.push_back({col, row, grid_.Cells(col, row), value});
      grid_.SetCells(col, row, std::move(value));
    }
  }
  if (paste.cells.empty()) return;
  for (const PastedBlock::Cell& cell : paste.cells) Edited(cell.row);
  CellsPasted();
  last_paste_ = std::move(paste);
}

void GridController::UndoPaste() {
  if (last_paste_.owner != this || last_paste_.cells.empty()) return;
  // Only over the cells it filled: not once they were typed over or the grid
  // shows something else.
  if (last_paste_.content != ShownContent()) return;
  for (const PastedBlock::Cell& cell : last_paste_.cells) {
    if (cell.row >= grid_.RowCount() || grid_.Cells(cell.col, cell.row) != cell.after) return;
  }
  for (const PastedBlock::Cell& cell : last_paste_.cells) {
    grid_.SetCells(cell.col, cell.row, cell.before);
    Edited(cell.row);
  }
  last_paste_ = {};
  CellsPasted();
}

}  // namespace tarnvex
