#include "widgets/column_grid.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "text/cp936.h"

namespace tarnvex {

namespace {

constexpr KeyCode kKeyInsert = 0x2D;

std::optional<BlockCommand> BlockCommandOf(KeyCode key, KeyModifiers modifiers) {
  if (modifiers.ctrl && !modifiers.shift) {
    switch (key) {
      case 'C':
      case kKeyInsert:
        return BlockCommand::kCopy;
      case 'V':
        return BlockCommand::kPaste;
      case 'Z':
        return BlockCommand::kUndo;
      default:
        return std::nullopt;
    }
  }
  if (modifiers.shift && !modifiers.ctrl && key == kKeyInsert) return BlockCommand::kPaste;
  return std::nullopt;
}

bool IsArrow(KeyCode key) {
  return key == kKeyLeft || key == kKeyUp || key == kKeyRight || key == kKeyDown;
}

}  // namespace

ColumnGrid::ColumnGrid(std::string name) : Control(std::move(name)), rows_(2) {}

void ColumnGrid::AddColumn(GridColumn column) {
  for (GridRow& row : rows_) row.cells.emplace_back();
  rows_[0].cells.back().text = column.header;
  columns_.push_back(std::move(column));
  ChangedAll();
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
  ClampScroll();
}

void ColumnGrid::SetColumnVisible(int col, bool visible) {
  CheckColumn(col);
  columns_[col].visible = visible;
  ClampScroll();
}

void ColumnGrid::InsertRow(int at) {
  if (at < 1 || at > RowCount()) {
    throw std::out_of_range(name() + ": cannot insert a row at " + std::to_string(at));
  }
  rows_.insert(rows_.begin() + at, GridRow{std::vector<Cell>(columns_.size()), 0});
  if (at <= row_) ++row_;
  block_end_.reset();
  ChangedAll();
}

void ColumnGrid::RemoveRows(int at, int count) {
  if (count < 1 || at < 1 || at >= RowCount() || count > RowCount() - at ||
      count >= RowCount() - 1) {
    throw std::out_of_range(name() + ": cannot remove " + std::to_string(count) +
                            " rows from row " + std::to_string(at));
  }
  rows_.erase(rows_.begin() + at, rows_.begin() + at + count);
  if (row_ >= at && row_ < at + count) {
    EndEdit();
    cell_edited_ = false;
  }
  block_end_.reset();
  if (row_ >= at + count) {
    row_ -= count;
  } else if (row_ >= RowCount()) {
    row_ = RowCount() - 1;
  }
  ClampScroll();
}

void ColumnGrid::SetViewport(int rows, int width) {
  // Told after every input: an unchanged view must not repaint everything.
  if (std::max(1, rows) == viewport_rows_ && std::max(0, width) == viewport_width_) return;
  viewport_rows_ = std::max(1, rows);
  viewport_width_ = std::max(0, width);
  ClampScroll();
}

void ColumnGrid::ScrollToRow(int top_row) {
  top_row_ = top_row;
  ClampScroll();
}

void ColumnGrid::SetFrozenColumns(int count) {
  frozen_columns_ = std::clamp(count, 0, ColumnCount());
  ClampScroll();
}

int ColumnGrid::FrozenWidth() const {
  int width = 0;
  for (int col = 0; col < frozen_columns_ && col < ColumnCount(); ++col) {
    if (columns_[col].visible) width += columns_[col].width + 1;
  }
  return width;
}

int ColumnGrid::ContentWidth() const {
  int width = 0;
  for (const GridColumn& column : columns_) {
    if (column.visible) width += column.width + 1;
  }
  return width;
}

int ColumnGrid::MaxScrollX() const {
  // The scrolling columns share what the frozen ones leave of the view.
  const int view = std::max(0, viewport_width_ - FrozenWidth());
  return std::max(0, ContentWidth() - FrozenWidth() - view);
}

void ColumnGrid::ScrollToX(int x) {
  scroll_x_ = x;
  ClampScroll();
}

void ColumnGrid::ClampScroll() {
  // Whatever calls this may have moved everything on screen.
  ChangedAll();
  const int data_rows = RowCount() - 1;
  top_row_ = std::clamp(top_row_, 1, std::max(1, data_rows - viewport_rows_ + 1));
  scroll_x_ = std::clamp(scroll_x_, 0, MaxScrollX());
}

void ColumnGrid::ScrollRowIntoView() {
  if (row_ < top_row_) top_row_ = row_;
  if (row_ >= top_row_ + viewport_rows_) top_row_ = row_ - viewport_rows_ + 1;
  ClampScroll();
}

void ColumnGrid::ScrollIntoView() { ScrollCellIntoView(col_, row_); }

void ColumnGrid::ScrollCellIntoView(int col, int row) {
  if (row < top_row_) top_row_ = row;
  if (row >= top_row_ + viewport_rows_) top_row_ = row - viewport_rows_ + 1;
  if (col >= frozen_columns_ && col < ColumnCount() && columns_[col].visible) {
    // Where the column lies among the scrolling ones; its left edge wins
    // when it is wider than the view.
    int left = 0;
    for (int before = frozen_columns_; before < col; ++before) {
      if (columns_[before].visible) left += columns_[before].width + 1;
    }
    const int right = left + columns_[col].width + 1;
    const int view = std::max(0, viewport_width_ - FrozenWidth());
    if (right > scroll_x_ + view) scroll_x_ = right - view;
    if (left < scroll_x_) scroll_x_ = left;
  }
  ClampScroll();
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
  // The program's text replaces what the operator was typing; typing goes on
  // at its end.
  if (col == col_ && row == row_) {
    if (editing_) text_.Reset(CellAt(col, row).text);
    // Nothing of the operator's is left to check.
    cell_edited_ = false;
  }
  ChangedCell(col, row);
}

bool ColumnGrid::Ticked(int col, int row) const { return Cells(col, row) == kTicked; }

std::optional<Colour> ColumnGrid::CellColour(int col, int row) const {
  return CellAt(col, row).colour;
}

void ColumnGrid::SetCellColour(int col, int row, Colour colour) {
  CellAt(col, row).colour = colour;
  ChangedCell(col, row);
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
  if (block_end_) {
    block_end_.reset();
    ChangedAll();
  }
  if (col == col_ && row == row_) return true;
  CloseList(false);
  if (!LeaveCell()) return false;
  bool allow = true;
  if (row != row_ && OnRowChanging) OnRowChanging(row_, row, allow);
  if (allow && OnSelectCell) OnSelectCell(col, row, allow);
  if (!allow) return false;
  // A handler may have removed rows meanwhile.
  col_ = col;
  row_ = row < RowCount() ? row : RowCount() - 1;
  ScrollIntoView();
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

int ColumnGrid::NextShownColumn(int col, int step) const {
  for (col += step; col >= 0 && col < ColumnCount(); col += step) {
    if (columns_[col].visible) return col;
  }
  return -1;
}

void ColumnGrid::MoveColumn(int step) {
  const int col = NextShownColumn(col_, step);
  if (col >= 0) MoveTo(col, row_);
}

CellBlock ColumnGrid::Block() const {
  if (!block_end_) return CellBlock::Between(col_, row_, col_, row_);
  return CellBlock::Between(col_, row_, block_end_->first, block_end_->second);
}

bool ColumnGrid::HasBlock() const { return Block() != CellBlock::Between(col_, row_, col_, row_); }

void ColumnGrid::ExtendBlock(int col, int row) {
  CheckColumn(col);
  if (row < 1 || row >= RowCount()) {
    throw std::out_of_range(name() + ": no data row " + std::to_string(row));
  }
  EndEdit();
  block_end_.emplace(col, row);
  ScrollCellIntoView(col, row);
}

void ColumnGrid::ExtendBlockByKey(KeyCode key) {
  auto [col, row] = block_end_.value_or(std::pair{col_, row_});
  if (key == kKeyUp && row > 1) --row;
  if (key == kKeyDown && row + 1 < RowCount()) ++row;
  if (key == kKeyLeft || key == kKeyRight) {
    const int next = NextShownColumn(col, key == kKeyLeft ? -1 : 1);
    if (next >= 0) col = next;
  }
  ExtendBlock(col, row);
}

void ColumnGrid::SetPickList(int col, std::vector<std::string> items) {
  CheckColumn(col);
  columns_[col].pick_list = std::move(items);
  if (col == col_) CloseList(false);
}

void ColumnGrid::DropDown() {
  if (!CanEditText(col_) || columns_[col_].pick_list.empty()) return;
  const std::vector<std::string>& items = columns_[col_].pick_list;
  const auto found = std::find(items.begin(), items.end(), CellAt(col_, row_).text);
  picked_ = found == items.end() ? -1 : static_cast<int>(found - items.begin());
  dropped_down_ = true;
  ChangedAll();
}

void ColumnGrid::PickItem(int index) {
  if (!dropped_down_ || index < 0 || index >= static_cast<int>(columns_[col_].pick_list.size())) {
    return;
  }
  picked_ = index;
  CloseList(true);
}

void ColumnGrid::CloseList(bool take) {
  if (!dropped_down_) return;
  dropped_down_ = false;
  ChangedAll();
  if (!take || picked_ < 0) return;
  // The item replaces the cell's text, through the cell's rules as a paste.
  const std::string item = columns_[col_].pick_list[static_cast<size_t>(picked_)];
  EndEdit();
  Paste(item);
}

bool ColumnGrid::PickListKey(KeyCode key) {
  const int last = static_cast<int>(columns_[col_].pick_list.size()) - 1;
  switch (key) {
    case kKeyDown:
      picked_ = std::min(picked_ + 1, last);
      ChangedAll();
      return true;
    case kKeyUp:
      picked_ = std::max(picked_ - 1, 0);
      ChangedAll();
      return true;
    case kKeyReturn:
    case kKeyF4:
      CloseList(true);
      return true;
    case kKeyEscape:
      CloseList(false);
      return true;
    default:
      return false;
  }
}

void ColumnGrid::PressKey(KeyCode key, KeyModifiers modifiers) {
  if (dropped_down_ && PickListKey(key)) return;
  if (key == kKeyF4) {
    DropDown();
    return;
  }
  // With the caret in a cell's text, Shift and the arrows select text; else
  // they select a block of cells.
  const bool in_text = editing_ && caret_mode_;
  if (!in_text && modifiers.shift && !modifiers.ctrl && IsArrow(key)) {
    ExtendBlockByKey(key);
    return;
  }
  if (OnKeyDown) OnKeyDown(key);
  // While a cell is edited the clipboard keys and Ctrl+Z work on its text.
  if (editing_ && TextKey(key, modifiers)) return;
  if (const std::optional<BlockCommand> command = BlockCommandOf(key, modifiers)) {
    if (!LeaveCell()) return;
    if (OnBlockCommand) OnBlockCommand(*command);
    return;
  }
  switch (key) {
    case kKeyReturn:
      if (LeaveCell()) NextCellRight();
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
      if (editing_) CancelEdit();
      break;
    case kKeyF2:
      StartCaretMode();
      break;
    default:
      break;
  }
}

bool ColumnGrid::TextKey(KeyCode key, KeyModifiers modifiers) {
  if (!CanEditText(col_)) return false;
  // While typing over a cell the arrows, Home and End stay the grid's.
  const bool moves = key == kKeyLeft || key == kKeyRight || key == kKeyHome || key == kKeyEnd;
  if (!caret_mode_ && moves && !modifiers.ctrl) return false;
  switch (text_.PressKey(key, modifiers, platform_)) {
    case TextEditor::KeyResult::kNotMine:
      return false;
    case TextEditor::KeyResult::kPaste:
      PasteClipboard();
      return true;
    case TextEditor::KeyResult::kDone:
      break;
  }
  ShowEditedText();
  return true;
}

void ColumnGrid::PasteClipboard() {
  if (platform_ == nullptr) return;
  if (std::optional<std::string> pasted = platform_->ClipboardText()) Paste(*pasted);
}

void ColumnGrid::Paste(std::string_view text) {
  const std::string line = OneLineOfPaste(text);
  if (line.empty()) return;
  if (!CanEditText(col_)) {
    if (OnPasteRefused) OnPasteRefused(col_, row_, line);
    return;
  }
  for (size_t at = 0; at < line.size(); at += Cp936CharLength(line, at)) {
    char ch = line[at];
    if (OnKeyPress) OnKeyPress(ch);
    if (ch == 0) {
      if (OnPasteRefused) OnPasteRefused(col_, row_, line);
      return;
    }
  }
  // Cut to the limit it would lose text without a word: refused instead.
  const size_t kept = editing_ ? text_.text().size() - text_.SelectedText().size() : 0;
  if (kept + line.size() > columns_[col_].max_length) {
    if (OnPasteRefused) OnPasteRefused(col_, row_, line);
    return;
  }
  if (!editing_) StartEdit(false);
  if (!text_.Insert(line)) Beep();
  ShowEditedText();
}

bool ColumnGrid::LeaveCell() {
  if (!cell_edited_ || !OnCellExit || row_ >= RowCount()) {
    EndEdit();
    cell_edited_ = false;
    return true;
  }
  std::string text = CellAt(col_, row_).text;
  bool accept = true;
  OnCellExit(col_, row_, text, accept);
  if (!accept) {
    // The operator mends it where it is: caret in the text, all of it
    // selected, so that typing replaces it.
    if (CanEditText(col_)) {
      if (!editing_) StartEdit(true);
      caret_mode_ = true;
      text_.SelectAll();
      ChangedCell(col_, row_);
    }
    return false;
  }
  EndEdit();
  cell_edited_ = false;
  if (text != CellAt(col_, row_).text) {
    CellAt(col_, row_).text = std::move(text);
    ChangedCell(col_, row_);
  }
  return true;
}

void ColumnGrid::CancelEdit() {
  if (!editing_ && !cell_edited_) return;
  const bool edited = CellAt(col_, row_).text != text_before_edit_;
  CellAt(col_, row_).text = text_before_edit_;
  ChangedCell(col_, row_);
  EndEdit();
  cell_edited_ = false;
  if (edited && OnEdited) OnEdited(col_, row_);
}

void ColumnGrid::SelectText(size_t anchor, size_t caret) {
  StartCaretMode();
  if (!caret_mode_) return;
  text_.Select(anchor, caret);
  ChangedCell(col_, row_);
}

size_t ColumnGrid::TextCaret() const {
  return editing_ ? text_.caret() : CellAt(col_, row_).text.size();
}

size_t ColumnGrid::TextAnchor() const {
  return editing_ ? text_.anchor() : CellAt(col_, row_).text.size();
}

void ColumnGrid::StartEdit(bool keep_text) {
  editing_ = true;
  caret_mode_ = false;
  std::string& text = CellAt(col_, row_).text;
  // An edit refused when the cell was left goes on: Esc still puts back what
  // the cell held before it.
  if (!cell_edited_) text_before_edit_ = text;
  text_.set_max_length(columns_[col_].max_length);
  text_.Reset(keep_text ? text : std::string());
  ShowEditedText();
}

void ColumnGrid::StartCaretMode() {
  if (!CanEditText(col_)) return;
  if (!editing_) StartEdit(true);
  caret_mode_ = true;
  ChangedCell(col_, row_);
}

void ColumnGrid::EndEdit() {
  if (caret_mode_ && row_ < RowCount()) ChangedCell(col_, row_);
  editing_ = false;
  caret_mode_ = false;
}

void ColumnGrid::ShowEditedText() {
  std::string& shown = CellAt(col_, row_).text;
  const bool edited = shown != text_.text();
  shown = text_.text();
  ChangedCell(col_, row_);
  if (!edited) return;
  cell_edited_ = true;
  if (OnEdited) OnEdited(col_, row_);
}

void ColumnGrid::Beep() {
  if (platform_ != nullptr) platform_->Beep();
}

bool ColumnGrid::CanEdit(int col) const {
  return col < ColumnCount() && columns_[col].visible && !columns_[col].read_only;
}

bool ColumnGrid::CanEditText(int col) const {
  return CanEdit(col) && columns_[col].kind == CellKind::kText;
}

void ColumnGrid::ToggleCheck(int col, int row) {
  std::string& text = CellAt(col, row).text;
  // A new string moved in, rather than assign(const char*), which g++ 12 warns
  // about wrongly (-Wrestrict) once inlined.
  text = std::string(text == kTicked ? kCleared : kTicked);
  ChangedCell(col, row);
  if (OnEdited) OnEdited(col, row);
  if (OnCheckChanged) OnCheckChanged(col, row);
}

void ColumnGrid::TypeChar(char ch) {
  std::string character;
  if (typed_.TakeTrail(ch, character)) {
    if (!character.empty()) InsertTyped(character);
    return;
  }
  // Enter, Esc and what Ctrl makes of letters are keys, never text.
  if (IsTextControlByte(ch) && ch != kCharBackspace) return;
  const bool lead = IsCp936LeadByte(ch);
  if (OnKeyPress) OnKeyPress(ch);
  if (ch == 0) Beep();
  if (ch == 0 || !CanEdit(col_) || columns_[col_].kind == CellKind::kCheckBox) {
    // The trail byte of a character not taken goes with it.
    typed_.Start(0, lead);
    if (ch == ' ' && CanEdit(col_) && columns_[col_].kind == CellKind::kCheckBox) {
      ToggleCheck(col_, row_);
    }
    return;
  }
  if (ch == kCharBackspace) {
    if (!editing_) StartEdit(true);
    text_.Backspace();
    ShowEditedText();
    return;
  }
  character = typed_.Start(ch, lead);
  if (!character.empty()) InsertTyped(character);
}

void ColumnGrid::InsertTyped(const std::string& character) {
  if (!CanEditText(col_)) return;
  if (!editing_) StartEdit(false);
  if (!text_.Insert(character, true)) Beep();
  ShowEditedText();
}

void ColumnGrid::ChangedCell(int col, int row) {
  // Past a handful of cells one repaint of everything is cheaper to ask for.
  constexpr std::size_t kMostCells = 64;
  if (changes_.all) return;
  if (changes_.cells.size() >= kMostCells) {
    ChangedAll();
    return;
  }
  const std::pair<int, int> cell{col, row};
  if (std::find(changes_.cells.begin(), changes_.cells.end(), cell) == changes_.cells.end()) {
    changes_.cells.push_back(cell);
  }
}

ColumnGrid::Changes ColumnGrid::TakeChanges() { return std::exchange(changes_, Changes{}); }

void ColumnGrid::TypeText(std::string_view text) {
  for (char ch : text) TypeChar(ch);
}

void ColumnGrid::ClickCell(int col, int row) {
  CheckColumn(col);
  // A click into the cell already current puts the caret into its text.
  if (col == col_ && row == row_) StartCaretMode();
  if (row >= 1 && MoveTo(col, row) && columns_[col].kind == CellKind::kCheckBox && CanEdit(col)) {
    ToggleCheck(col, row);
  }
  if (OnClick) OnClick();
}

}  // namespace tarnvex
