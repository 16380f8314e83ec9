#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "widgets/cell_block.h"
#include "widgets/control.h"
#include "widgets/font.h"
#include "widgets/keys.h"
#include "widgets/platform.h"
#include "widgets/text_editor.h"

namespace tarnvex {

enum class CellKind { kText, kCheckBox };
// What the keys of a block of cells ask for: Ctrl+C or Ctrl+Insert copy it,
// Ctrl+V or Shift+Insert paste over it, Ctrl+Z takes the last paste back.
enum class BlockCommand { kCopy, kPaste, kUndo };
enum class HorizontalAlignment { kLeft, kCentre, kRight };
enum class VerticalAlignment { kTop, kCentre, kBottom };

struct CellAlignment {
  HorizontalAlignment horizontal = HorizontalAlignment::kLeft;
  VerticalAlignment vertical = VerticalAlignment::kCentre;
  bool operator==(const CellAlignment&) const = default;
};

struct GridColumn {
  std::string header;  // the text of the header row's cell
  CellKind kind = CellKind::kText;
  int width = 64;
  bool visible = true;
  bool read_only = false;
  HorizontalAlignment alignment = HorizontalAlignment::kLeft;
  // The most bytes a text cell of the column takes from the operator.
  size_t max_length = TextEditor::kNoLimit;
  // Cells that hold numbers: a peer shows one too wide for its cell as "###"
  // rather than cut, as spreadsheets do.
  bool numbers = false;
  // Texts the operator may pick from a list dropped down from the cell (and
  // may still type another).
  std::vector<std::string> pick_list = {};
};

// How the grid draws itself; a native peer paints from it.
struct GridLook {
  int default_row_height = 24;
  Colour colour = 0xFFFFFF;        // cell background where a cell has none
  Colour fixed_colour = 0xC0C0C0;  // header row background
  Colour line_colour = 0xC0C0C0;
  Font header_font;
  Font cell_font;
  // The current row's background across its cells where set, so that the row
  // another control follows stays marked.
  std::optional<Colour> current_row_colour;
};

// A grid of text cells under one header row (row 0). Data rows start at row 1
// and there is always at least one. The grid owns what it shows: cells, their
// colours, the columns and the current cell. Input methods (PressKey, TypeChar,
// ClickCell, MoveTo) are what the operator's keys and clicks reach, from a
// native peer or a test alike; they raise the events in a fixed order.
//
// Check-box cells keep their state as their text: "Y" ticked, anything else
// cleared. Typing into a text cell edits it in place: the first character
// replaces the text, the following ones are appended, Backspace removes the last
// character; the cell holds the edited text at once. F2 or a click into the
// current cell puts a caret into its text (caret mode): the arrows, Home, End,
// Delete, Shift with them, the clipboard keys and Ctrl+Z then work inside the
// text as in any Windows edit (TextEditor), and Left and Right leave the cell
// only at the text's ends. No control character ever enters a cell's text.
class ColumnGrid : public Control {
 public:
  static constexpr char kTicked[] = "Y";
  static constexpr char kCleared[] = "N";

  explicit ColumnGrid(std::string name);

  void AddColumn(GridColumn column);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // Out-of-range indices raise std::out_of_range, here and below.
  const GridColumn& Column(int col) const;
  void SetColumnWidth(int col, int width);
  void SetColumnVisible(int col, bool visible);
  void SetPickList(int col, std::vector<std::string> items);

  // The pick list of the current cell: F4 (or Alt+Down, or a click on the
  // cell's drop button, through DropDown) opens it on a text cell of a column
  // with a list, the item equal to the cell's text chosen. While it is open
  // the keys are the list's: Up and Down choose, Enter and F4 take the chosen
  // item into the cell as a paste there would, Esc closes it; a move of the
  // current cell closes it.
  void DropDown();
  bool dropped_down() const { return dropped_down_; }
  // The chosen item of the open list; -1 when none.
  int picked() const { return picked_; }
  // A click on an item of the open list: chosen and taken.
  void PickItem(int index);
  // Closes the open list without taking its item, as Esc does: for a peer
  // whose grid lost the focus or whose window moved from under the list.
  void CloseDropDown() { CloseList(false); }

  // Rows, the header row included.
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Inserts an empty row at 1..RowCount(); the current cell stays on its row.
  void InsertRow(int at);
  // Removes count data rows from at on; the last data row cannot be removed. A
  // current row past the end moves up to the new last row, without events.
  void RemoveRows(int at, int count);
  void RemoveRow(int at) { RemoveRows(at, 1); }

  // A number the program keeps with a row, as it keeps what the row stands for;
  // 0 in a new row. It moves with its row.
  int RowTag(int row) const;
  void SetRowTag(int row, int tag);

  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, std::string text);
  // Whether a check-box cell shows ticked.
  bool Ticked(int col, int row) const;
  std::optional<Colour> CellColour(int col, int row) const;
  void SetCellColour(int col, int row, Colour colour);
  // The column's alignment, centred vertically, as OnGetAlignment leaves it.
  CellAlignment Alignment(int col, int row) const;

  int Col() const { return col_; }
  int Row() const { return row_; }
  // Makes a data cell current. When the row changes OnRowChanging runs first,
  // then OnSelectCell, both while the old cell is still current; either may
  // refuse the move, and the current cell then stays. Moving to the current
  // cell does nothing. Returns whether the cell is current afterwards.
  bool MoveTo(int col, int row);
  bool editing() const { return editing_; }
  // Whether the edit in progress has a caret inside the text.
  bool caret_mode() const { return caret_mode_; }
  // Where the caret and the other end of the text selection stand in the
  // current cell's text, in bytes; at its end while nothing is being edited.
  size_t TextCaret() const;
  size_t TextAnchor() const;

  // A block of cells: the rectangle from the current cell to a far corner
  // that Shift with the arrows, or a drag of the mouse, moves while the
  // current cell stays. Any move of the current cell, and rows inserted or
  // removed, leave the current cell alone as the block.
  CellBlock Block() const;
  bool HasBlock() const;
  // Moves the far corner to a data cell, into view.
  void ExtendBlock(int col, int row);

  // What the peer shows: the data rows that fit below the header row and the
  // width in pixels. The scroll positions stay within it.
  void SetViewport(int rows, int width);
  int ViewportRows() const { return viewport_rows_; }
  int ViewportWidth() const { return viewport_width_; }
  // The first data row shown, clamped so that the last page is full.
  int TopRow() const { return top_row_; }
  void ScrollToRow(int top_row);
  // The first count columns (code and name) stay in place while the others
  // scroll sideways.
  void SetFrozenColumns(int count);
  int FrozenColumns() const { return frozen_columns_; }
  // Shown columns, a grid line after each: the frozen ones, and all.
  int FrozenWidth() const;
  int ContentWidth() const;
  // Whether the shown columns are wider than the view, and how many pixels of
  // the scrolling columns lie hidden at their left.
  bool ScrollsSideways() const { return ContentWidth() > viewport_width_; }
  int ScrollX() const { return scroll_x_; }
  int MaxScrollX() const;
  void ScrollToX(int x);
  // Scrolls the current cell into view; a move of the current cell does it by
  // itself.
  void ScrollIntoView();
  // Scrolls only the current row into view, up or down: a fill that starts at
  // the left keeps its sideways position.
  void ScrollRowIntoView();

  // What changed in the picture since the peer last took it: single cells
  // (typing, a tick, a cell's text or colour), or everything (rows, columns,
  // the current cell, scrolling, a fill). Typing then repaints one cell.
  struct Changes {
    bool all = false;
    std::vector<std::pair<int, int>> cells;  // column, row
  };
  Changes TakeChanges();

  // The clipboard and the beep; without a platform the clipboard keys do
  // nothing and nothing beeps.
  void set_platform(Platform* platform) { platform_ = platform; }

  // A key going down: OnKeyDown, then the grid's own handling: Enter moves to
  // the next shown column to the right (from the last one to the first of the
  // next row), the arrows move one cell, Escape puts back the text the cell
  // had before the edit in progress, F2 puts the caret into the current
  // cell's text. Keys of the text come first while a cell is edited (see the
  // class comment). Otherwise the keys of BlockCommand end an edit in progress
  // and raise OnBlockCommand, and Shift with an arrow only moves the block's
  // far corner, without OnKeyDown.
  // modifiers: the Shift and Ctrl keys held down with it.
  void PressKey(KeyCode key, KeyModifiers modifiers = {});
  // A character typed: OnKeyPress may discard it (set it to 0), which beeps;
  // a space ticks or clears a check-box cell (then OnCheckChanged); other
  // characters edit a text cell that is shown and not read-only. Control
  // characters other than Backspace are keys and never reach OnKeyPress.
  // Double-byte characters arrive one byte at a time.
  void TypeChar(char ch);
  void TypeText(std::string_view text);
  // Text pasted into the current text cell, as typed: its first line only, no
  // control character, every character through OnKeyPress. One character
  // discarded, or a text that would pass the column's limit, refuses the
  // whole paste: nothing of it is applied and OnPasteRefused tells which cell
  // and what text.
  void Paste(std::string_view text);
  // A click or a drag inside the current cell's text: caret mode, with the
  // text selected from anchor to caret (bytes).
  void SelectText(size_t anchor, size_t caret);
  // A left click: data cells become current (the current one goes into
  // caret mode), a check-box cell that is not
  // read-only changes state (then OnCheckChanged), then OnClick. A click on the header row only
  // raises OnClick.
  void ClickCell(int col, int row);

  std::function<void(KeyCode key)> OnKeyDown;
  std::function<void(char& ch)> OnKeyPress;
  std::function<void(int old_row, int new_row, bool& allow)> OnRowChanging;
  std::function<void(int col, int row, bool& allow)> OnSelectCell;
  std::function<void()> OnClick;
  // A check-box cell ticked or cleared by a click or by Space.
  std::function<void(int col, int row)> OnCheckChanged;
  // A cell's text changed by the operator: typed, pasted, cut, undone, put
  // back by Esc, or a check box ticked or cleared. Never raised by SetCells.
  std::function<void(int col, int row)> OnEdited;
  // A text cell whose text the operator changed is being left: by Enter, an
  // arrow, a click on another cell, a block command, or LeaveCell. The
  // handler may put the text in its shown form, or refuse it (accept false):
  // the cell then stays current, in caret mode with its whole text selected,
  // and Esc still puts back what it held before the edit.
  std::function<void(int col, int row, std::string& text, bool& accept)> OnCellExit;

  // Leaves an edit of the current cell as moving away does (OnCellExit);
  // false when the cell refused its text. True at once when there is nothing
  // of the operator's to check.
  bool LeaveCell();
  // Puts back the text the current cell held before the operator's edit, as
  // Esc does.
  void CancelEdit();
  // Whether the current cell holds text the operator changed that has not
  // been checked by leaving it.
  bool cell_edited() const { return cell_edited_; }
  std::function<void(int col, int row, CellAlignment& alignment)> OnGetAlignment;
  std::function<void(int col, int row, const std::string& text)> OnPasteRefused;
  // Ctrl+C, Ctrl+V or Ctrl+Z on the block; the clipboard is its handler's.
  std::function<void(BlockCommand command)> OnBlockCommand;

  GridLook look;

 private:
  struct Cell {
    std::string text;
    std::optional<Colour> colour;
  };
  struct GridRow {
    std::vector<Cell> cells;
    int tag = 0;
  };

  const Cell& CellAt(int col, int row) const;
  Cell& CellAt(int col, int row);
  void CheckColumn(int col) const;
  bool CanEdit(int col) const;
  bool CanEditText(int col) const;
  void StartEdit(bool keep_text);
  void StartCaretMode();
  void EndEdit();
  // A key of the text being edited, or of the clipboard; false when it is
  // the grid's.
  bool TextKey(KeyCode key, KeyModifiers modifiers);
  void PasteClipboard();
  void InsertTyped(const std::string& character);
  // The cell being edited takes the editor's text.
  void ShowEditedText();
  void Beep();
  void CheckRow(int row) const;
  void NextCellRight();
  void MoveColumn(int step);
  // The next shown column from col in the direction of step; -1 when none.
  int NextShownColumn(int col, int step) const;
  void ExtendBlockByKey(KeyCode key);
  void ScrollCellIntoView(int col, int row);
  void ToggleCheck(int col, int row);

  void ClampScroll();
  void ChangedAll() { changes_.all = true; }
  void ChangedCell(int col, int row);

  std::vector<GridColumn> columns_;
  std::vector<GridRow> rows_;
  int col_ = 0;
  int row_ = 1;
  int viewport_rows_ = 1;
  int viewport_width_ = 0;
  int top_row_ = 1;
  int frozen_columns_ = 0;
  int scroll_x_ = 0;
  Changes changes_{.all = true, .cells = {}};
  bool editing_ = false;
  bool caret_mode_ = false;
  bool cell_edited_ = false;
  bool dropped_down_ = false;
  int picked_ = -1;
  // The keys of the open pick list; false when the key is not the list's.
  bool PickListKey(KeyCode key);
  void CloseList(bool take);
  std::string text_before_edit_;
  TextEditor text_;
  TypedCharacter typed_;
  Platform* platform_ = nullptr;
  // The block's far corner (column, row); none while the block is the
  // current cell alone.
  std::optional<std::pair<int, int>> block_end_;
};

}  // namespace tarnvex
