// Blocks of cells to and from a spreadsheet: copying a block of either grid as
// tab-separated lines, pasting such lines over the cells from the current one
// on, all or nothing, and taking the last paste back.

#include <string>
#include <vector>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "text/number_text.h"
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

bool IsNumberText(const std::string& text) {
  for (char ch : text) {
    if (!TfrmSubsidySet::ParameterCharPasses(ch) || ch == kCharBackspace || ch == kCharReturn) {
      return false;
    }
  }
  // Empty is what a cleared cell holds; the write-back reads it as 0.
  if (text.empty()) return true;
  try {
    ParseNumber(text);
    return true;
  } catch (const NumberFormatError&) {
    return false;
  }
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

std::string TfrmSubsidySet::DescribeCell(const ColumnGrid& grid, int col, int row) const {
  std::string words;
  if (row < grid.RowCount()) {
    const bool vehicle_grid = &grid == &cgdType;
    const std::string code =
        vehicle_grid ? grid.Cells(kVehicleGridCodeColumn, row) : CodeOfRow(row);
    if (code.empty()) {
      words = "第" + std::to_string(row) + "行";
    } else {
      words = (vehicle_grid ? "车型编码“" : "项目编码“") + code + "”";
    }
  }
  if (col < grid.ColumnCount()) {
    if (!words.empty()) words += "的";
    words += "“" + grid.Column(col).header + "”";
  }
  return words;
}

std::string TfrmSubsidySet::PasteRefusal(const ColumnGrid& grid, int col, int row,
                                         const std::string& pasted, std::string& value) const {
  const std::string text = WithoutControlCharacters(pasted);
  if (col >= grid.ColumnCount()) return "超出了最后一列";
  if (row >= grid.RowCount()) return "超出了最后一行";
  const GridColumn& column = grid.Column(col);
  if (!column.visible) return "没有显示";
  if (column.read_only) return "不能修改";
  if (column.kind == CellKind::kCheckBox) {
    value = TickText(text);
    return value.empty() ? "只能是Y或N" : "";
  }
  if (&grid == &cgdType) {
    if (!IsNumberText(text)) return "不是数字";
  } else if (col == kItemGridCodeColumn) {
    // An item's code is the key of its records: only a new row takes one.
    if (!IsNewItemRow(row)) return "不能修改";
  } else if (col == kItemGridCategoryColumn) {
    if (grid.Cells(kItemGridMarkerColumn, row) != kCreatedRowMarker) return "不能修改";
  }
  value = text;
  return "";
}

void TfrmSubsidySet::ShowPasteRefused(const ColumnGrid& grid, int col, int row,
                                      const std::string& refusal, const std::string& text) {
  ShowErrorNotice(grid.handle(),
                  "粘贴被取消：" + DescribeCell(grid, col, row) + refusal + "：“" + text + "”");
}

void TfrmSubsidySet::GridPasteRefused(const ColumnGrid& grid, int col, int row,
                                      const std::string& text) {
  // Text pasted into a cell being edited, refused by the cell's key filter.
  ShowPasteRefused(grid, col, row, &grid == &cgdType ? "不是数字" : "含有不能输入的字符", text);
}

void TfrmSubsidySet::PasteBlock(ColumnGrid& grid) {
  const BlockLines lines = ParseBlockText(platform().ClipboardText().value_or(""));
  PastedBlock paste{.grid = &grid, .item_code = CodeOfRow(cgdArc.Row()), .cells = {}};
  // Every cell is checked before any changes: one refused value refuses all.
  for (size_t line = 0; line < lines.size(); ++line) {
    for (size_t cell = 0; cell < lines[line].size(); ++cell) {
      const int col = grid.Col() + static_cast<int>(cell);
      const int row = grid.Row() + static_cast<int>(line);
      const std::string& text = lines[line][cell];
      std::string value;
      const std::string refusal = PasteRefusal(grid, col, row, text, value);
      if (!refusal.empty()) {
        ShowPasteRefused(grid, col, row, refusal, text);
        return;
      }
      paste.cells.push_back({col, row, grid.Cells(col, row), std::move(value)});
    }
  }
  if (paste.cells.empty()) return;
  for (const PastedCell& cell : paste.cells) {
    grid.SetCells(cell.col, cell.row, cell.after);
    GridEdited(grid, cell.row);
  }
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
