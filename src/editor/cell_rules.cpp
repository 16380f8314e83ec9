// What a cell takes: one rule for typing, pasting into a cell, block pastes
// and any later way of setting a value, and the check of a cell's text when
// the operator leaves it.

#include <cmath>
#include <string>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "text/number_text.h"
#include "text/trim.h"
#include "widgets/text_editor.h"

namespace tarnvex {

namespace {

constexpr char kOnlyDigits[] = "只能输入数字和小数点";

// The text without its control characters, which typing never puts in.
std::string WithoutControlCharacters(const std::string& text) {
  std::string kept;
  for (char ch : text) {
    if (!IsTextControlByte(ch)) kept += ch;
  }
  return kept;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

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

bool IsParameterColumn(int col) {
  return col >= kVehicleGridFirstNumberColumn && col <= kVehicleGridLastNumberColumn;
}

}  // namespace

std::string TfrmSubsidySet::NumberRefusal(const std::string& text, std::string& shown) {
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

bool TfrmSubsidySet::ParameterCharPasses(char ch) {
  // Digits and the point make a number; "(" and the minus sign never do.
  return IsDigit(ch) || ch == '.' || ch == kCharBackspace || ch == kCharReturn;
}

std::string TfrmSubsidySet::CellRefusal(const ColumnGrid& grid, int col, int row,
                                        const std::string& taken, std::string& value) const {
  const std::string text = WithoutControlCharacters(taken);
  if (col >= grid.ColumnCount()) return "超出了最后一列";
  if (row >= grid.RowCount()) return "超出了最后一行";
  const GridColumn& column = grid.Column(col);
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
  if (&grid == &cgdType) {
    for (char ch : text) {
      if (!ParameterCharPasses(ch)) return kOnlyDigits;
    }
  } else if (col == kItemGridCodeColumn) {
    // An item's code is the key of its records: only a new row takes one.
    if (!IsNewItemRow(row)) return "不能修改";
  } else if (col == kItemGridCategoryColumn) {
    if (CodeOfRow(row).empty()) return "须先输入项目编码";
  }
  value = text;
  return "";
}

std::string TfrmSubsidySet::LeaveRefusal(const ColumnGrid& grid, int col, std::string& text) const {
  if (&grid != &cgdType || !IsParameterColumn(col)) return "";
  std::string shown;
  std::string refusal = NumberRefusal(text, shown);
  if (refusal.empty()) text = std::move(shown);
  return refusal;
}

void TfrmSubsidySet::GridKeyPress(const ColumnGrid& grid, char& ch) {
  // Backspace and Enter are keys, whatever the cell takes.
  if (ch == kCharBackspace || ch == kCharReturn) return;
  std::string value;
  if (!CellRefusal(grid, grid.Col(), grid.Row(), std::string(1, ch), value).empty()) ch = 0;
}

void TfrmSubsidySet::cgdArcKeyPress(char& ch) { GridKeyPress(cgdArc, ch); }

void TfrmSubsidySet::cgdTypeKeyPress(char& ch) { GridKeyPress(cgdType, ch); }

std::string TfrmSubsidySet::RefusalOfEditedCell(const ColumnGrid& grid) const {
  if (!grid.cell_edited()) return "";
  std::string text = grid.Cells(grid.Col(), grid.Row());
  const std::string refusal = LeaveRefusal(grid, grid.Col(), text);
  if (refusal.empty()) return "";
  return DescribeCell(grid, grid.Col(), grid.Row()) + refusal + "：“" +
         grid.Cells(grid.Col(), grid.Row()) + "”";
}

void TfrmSubsidySet::GridCellExit(ColumnGrid& grid, int col, int row, std::string& text,
                                  bool& accept) {
  const std::string typed = text;
  const std::string refusal = LeaveRefusal(grid, col, text);
  if (refusal.empty()) return;
  accept = false;
  Screen.SetFocus(grid);
  ShowErrorNotice(grid.handle(), DescribeCell(grid, col, row) + refusal + "：“" + typed + "”");
}

bool TfrmSubsidySet::LeaveEditedCells() { return cgdType.LeaveCell() && cgdArc.LeaveCell(); }

std::string TfrmSubsidySet::DescribeCell(const ColumnGrid& grid, int col, int row) const {
  std::string words;
  if (row < grid.RowCount()) {
    if (&grid == &cgdType) {
      // The vehicle type's row belongs to the item the item grid is on.
      const std::string item = CodeOfRow(cgdArc.Row());
      if (!item.empty()) words = "项目编码“" + item + "”";
      const std::string& type = grid.Cells(kVehicleGridCodeColumn, row);
      words += type.empty() ? "第" + std::to_string(row) + "行" : "车型编码“" + type + "”";
    } else {
      const std::string code = CodeOfRow(row);
      words = code.empty() ? "第" + std::to_string(row) + "行" : "项目编码“" + code + "”";
    }
  }
  if (col < grid.ColumnCount()) {
    if (!words.empty()) words += "的";
    words += "“" + grid.Column(col).header + "”";
  }
  return words;
}

}  // namespace tarnvex
