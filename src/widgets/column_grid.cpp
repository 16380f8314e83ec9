#include "widgets/column_grid.h"

#include <stdexcept>
#include <utility>

#include "text/cp936.h"

namespace tarnvex {

ColumnGrid::ColumnGrid(std::string name) : Control(std::move(name)), rows_(2) {}

void ColumnGrid::AddColumn(GridColumn column) {
  for (GridRow& row : rows_) row.cells.emplace_back();
  rows_[0].cells.back().text = column.header;
  columns_.push_back(std::move(column));
}

void ColumnGrid::CheckColumn(int col) const {
  if (col < 0 || col >= ColumnCount()) {
    throw std::out_of_range(name() + ": no column " + std::to_string(col));
  }
}

const GridColumn& ColumnGrid::Column(int col) const {
  CheckColumn(col);
  return columns_[col];
}

void ColumnGrid::SetColumnWidth(int col, int width) {
  CheckColumn(col);
  columns_[col].width = width < 0 ? 0 : width;
}

void ColumnGrid::SetColumnVisible(int col, bool visible) {
  CheckColumn(col);
  columns_[col].visible = visible;
}

void ColumnGrid::SetColumnReadOnly(int col, bool read_only) {
  CheckColumn(col);
  columns_[col].read_only = read_only;
}

void ColumnGrid::InsertRow(int at) {
  if (at < 1 || at > RowCount()) {
    throw std::out_of_range(name() + ": cannot insert a row at " + std::to_string(at));
  }
  rows_.insert(rows_.begin() + at, GridRow{std::vector<Cell>(columns_.size()), 0});
  if (at <= row_) ++row_;
}

void ColumnGrid::RemoveRows(int at, int count) {
  if (count < 1 || at < 1 || at >= RowCount() || count > RowCount() - at ||
      count >= RowCount() - 1) {
    throw std::out_of_range(name() + ": cannot remove " + std::to_string(count) +
                            " rows from row " + std::to_string(at));
  }
  rows_.erase(rows_.begin() + at, rows_.begin() + at + count);
  if (row_ >= at && row_ < at + count) EndEdit();
  if (row_ >= at + count) {
    row_ -= count;
  } else if (row_ >= RowCount()) {
    row_ = RowCount() - 1;
  }
}

void ColumnGrid::CheckRow(int row) const {
  if (row < 0 || row >= RowCount()) {
    throw std::out_of_range(name() + ": no row " + std::to_string(row));
  }
}

int ColumnGrid::RowTag(int row) const {
  CheckRow(row);
  return rows_[row].tag;
}

void ColumnGrid::SetRowTag(int row, int tag) {
  CheckRow(row);
  rows_[row].tag = tag;
}

const ColumnGrid::Cell& ColumnGrid::CellAt(int col, int row) const {
  CheckColumn(col);
  CheckRow(row);
  return rows_[row].cells[col];
}

ColumnGrid::Cell& ColumnGrid::CellAt(int col, int row) {
  return const_cast<Cell&>(std::as_const(*this).CellAt(col, row));
}

const std::string& ColumnGrid::Cells(int col, int row) const { return CellAt(col, row).text; }

void ColumnGrid::SetCells(int col, int row, std::string text) {
  CellAt(col, row).text = std::move(text);
}

bool ColumnGrid::Ticked(int col, int row) const { return Cells(col, row) == kTicked; }

std::optional<Colour> ColumnGrid::CellColour(int col, int row) const {
  return CellAt(col, row).colour;
}

void ColumnGrid::SetCellColour(int col, int row, Colour colour) {
  CellAt(col, row).colour = colour;
}

CellAlignment ColumnGrid::Alignment(int col, int row) const {
  CellAt(col, row);  // range check
  CellAlignment alignment{columns_[col].alignment, VerticalAlignment::kCentre};
  if (OnGetAlignment) OnGetAlignment(col, row, alignment);
  return alignment;
}

bool ColumnGrid::MoveTo(int col, int row) {
  CheckColumn(col);
  if (row < 1 || row >= RowCount()) {
    throw std::out_of_range(name() + ": cannot move to row " + std::to_string(row));
  }
  if (col == col_ && row == row_) return true;
  EndEdit();
  bool allow = true;
  if (row != row_ && OnRowChanging) OnRowChanging(row_, row, allow);
  if (allow && OnSelectCell) OnSelectCell(col, row, allow);
  if (!allow) return false;
  // A handler may have removed rows meanwhile.
  col_ = col;
  row_ = row < RowCount() ? row : RowCount() - 1;
  return true;
}

void ColumnGrid::NextCellRight() {
  for (int col = col_ + 1; col < ColumnCount(); ++col) {
    if (columns_[col].visible) {
      MoveTo(col, row_);
      return;
    }
  }
  if (row_ + 1 >= RowCount()) return;
  for (int col = 0; col < ColumnCount(); ++col) {
    if (columns_[col].visible) {
      MoveTo(col, row_ + 1);
      return;
    }
  }
}

void ColumnGrid::MoveColumn(int step) {
  for (int col = col_ + step; col >= 0 && col < ColumnCount(); col += step) {
    if (columns_[col].visible) {
      MoveTo(col, row_);
      return;
    }
  }
}

void ColumnGrid::PressKey(KeyCode key) {
  if (OnKeyDown) OnKeyDown(key);
  switch (key) {
    case kKeyReturn:
      EndEdit();
      NextCellRight();
      break;
    case kKeyUp:
      if (row_ > 1) MoveTo(col_, row_ - 1);
      break;
    case kKeyDown:
      if (row_ + 1 < RowCount()) MoveTo(col_, row_ + 1);
      break;
    case kKeyLeft:
      MoveColumn(-1);
      break;
    case kKeyRight:
      MoveColumn(1);
      break;
    case kKeyEscape:
      if (editing_) {
        CellAt(col_, row_).text = text_before_edit_;
        EndEdit();
      }
      break;
    default:
      break;
  }
}

bool ColumnGrid::CanEdit(int col) const {
  return col < ColumnCount() && columns_[col].visible && !columns_[col].read_only;
}

void ColumnGrid::ToggleCheck(int col, int row) {
  std::string& text = CellAt(col, row).text;
  // A new string moved in, rather than assign(const char*), which g++ 12 warns
  // about wrongly (-Wrestrict) once inlined.
  text = std::string(text == kTicked ? kCleared : kTicked);
  if (OnCheckChanged) OnCheckChanged(col, row);
}

void ColumnGrid::TypeChar(char ch) {
  if (OnKeyPress) OnKeyPress(ch);
  if (ch == 0 || !CanEdit(col_)) return;
  if (columns_[col_].kind == CellKind::kCheckBox) {
    if (ch == ' ') ToggleCheck(col_, row_);
    return;
  }
  const auto byte = static_cast<unsigned char>(ch);
  if (byte < 0x20 && ch != kCharBackspace) return;
  std::string& text = CellAt(col_, row_).text;
  if (!editing_) {
    editing_ = true;
    text_before_edit_ = text;
    if (ch != kCharBackspace) text.clear();
  }
  if (ch == kCharBackspace) {
    text.erase(Cp936LastCharStart(text));
  } else {
    text.push_back(ch);
  }
}

void ColumnGrid::TypeText(std::string_view text) {
  for (char ch : text) TypeChar(ch);
}

void ColumnGrid::ClickCell(int col, int row) {
  CheckColumn(col);
  if (row >= 1 && MoveTo(col, row) && columns_[col].kind == CellKind::kCheckBox && CanEdit(col)) {
    ToggleCheck(col, row);
  }
  if (OnClick) OnClick();
}

}  // namespace tarnvex
