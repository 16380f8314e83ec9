#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "widgets/column_grid.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/owned_window.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/painted_window.h"
#include "widgets/win32/pick_list_window.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

// The Win32 peer of a ColumnGrid: paints the grid's state and turns mouse,
// keys and typed characters into the grid's input methods. It decides nothing
// of its own beyond which rows and columns fit on screen.
//
// Hidden columns are left out of the layout, so clicks and the in-place edit
// never reach them. The grid's frozen columns stay at the left; the others are
// drawn shifted by the grid's sideways scroll position, under a horizontal
// scroll bar shown only while the columns are wider than the window. The
// current cell is highlighted, with a focus rectangle while the grid has the
// focus. After an input only what the grid reports changed is repainted, so
// a keystroke repaints its cell.
// One child EDIT lies over the current cell while it can be typed into, so the
// first keystroke lands in a real EDIT (caret, input method, Chinese text); the
// EDIT passes every key, character and clipboard command on to the grid and
// shows the cell's text, caret and selection as the grid keeps them. A click
// into it puts the grid in caret mode where the EDIT placed its caret; in
// caret mode the cell keeps its own colours, so the selection stands out.
//
// A drag from a data cell, or a click with Shift, selects a block of cells;
// the block's cells besides the current one are tinted.
//
// The current cell of a column with a pick list carries a drop button at its
// right end, beside the EDIT; a click on it, or Alt+Down, drops the list down
// (Alt+Down on an open list takes its item, as F4 does). The open list shows
// below the cell in a popup of its own (PickListWindow) while the focus
// stays in the grid; the grid's list closes, without taking, when the focus
// leaves the grid or the window moves.
//
// A number too wide for its cell is drawn as "###", as many '#' as fit, as
// spreadsheets do, never cut to its last digits; a tool tip over such a cell
// shows its whole text.
class GridWindow : public PaintedWindow {
 public:
  static constexpr wchar_t kClassName[] = L"TarnvexColumnGrid";

  // Makes the window as a child of site.parent; the grid's handle becomes the
  // window's. Throws std::system_error when the window cannot be made.
  GridWindow(const PeerSite& site, ColumnGrid& grid);

  // Renders the grid's state: place, scroll range, the EDIT, the picture.
  void Sync();

  // Where a point of the client area falls: a shown column and a row on
  // screen; -1 when it falls outside them.
  struct Hit {
    int col = -1;
    int row = -1;
  };
  Hit HitTest(POINT point) const;
  // The rectangle of a cell on screen; empty when the cell is not on screen.
  RECT CellRect(int col, int row) const;

 private:
  // The EDIT over the current cell: every key and character it gets is the
  // grid's, which keeps the text and moves the cell.
  class CellEdit : public WindowBase {
   public:
    CellEdit(GridWindow& grid, HINSTANCE instance);

   private:
    LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;

    GridWindow& grid_;
    size_t drag_anchor_ = 0;
  };

  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  void OnSize();
  void OnSetFocus();
  // The grid's window or its EDIT lost the focus to window to.
  void OnKillFocus(HWND to);
  void OnMouseMove(POINT point);
  bool OnSetCursor();
  void OnVerticalScroll(WORD request);
  void OnHorizontalScroll(WORD request);
  // Where a scroll bar's request takes the position; nullopt for a request
  // that moves nothing. The grid keeps the position within its range.
  struct ScrollSteps {
    int now;
    int line;
    int page;
    int first;
    int last;
  };
  std::optional<int> ScrollTarget(int bar, WORD request, const ScrollSteps& steps) const;
  // The grid's window or its EDIT got (gained) or lost the focus.
  void FocusChanged(HWND window, bool gained);
  void OnFocusChange();
  bool HasFocus() const { return focus_ != nullptr; }
  // Whether the cell is the one with a caret in its text.
  bool ShowsCaret(int col, int row) const;
  Colour CellBackground(int col, int row) const;
  Colour CellTextColour(int col, int row) const;
  LRESULT OnEditColour(HDC dc);

  // A shown column on screen: frozen ones first, then the scrolling ones,
  // whose left edge may lie under the frozen ones (clip is where they show).
  struct Placed {
    int col;
    int left;
    int width;
    int clip;
  };
  std::vector<Placed> Layout() const;
  int Pitch() const { return grid_.look.default_row_height + 1; }
  // Data rows that fit below the header row.
  int RowsOnScreen() const;
  // Tells the grid the client area and shows the horizontal bar as it needs.
  void UpdateViewport();
  void UpdateScrollBars();
  void SetScrollBar(int bar, const SCROLLINFO& wanted);
  void Repaint(const ColumnGrid::Changes& changes);
  void PlaceEdit();
  // The drop button of the current cell, in client coordinates; empty when
  // the cell has none.
  RECT DropButtonRect() const;
  void SyncPickList();
  // Whether a data cell holds a number wider than width pixels in dc's
  // font, which it then shows as "###".
  bool ShowsHashes(HDC dc, int col, int row, int width) const;
  // The tool tip follows the cell under the mouse, and sees the mouse
  // message.
  void TrackTip(UINT message, WPARAM w_param, LPARAM l_param);
  void OnNotify(NMHDR& header);
  void Paint(HDC dc, const RECT& dirty) override;
  void PaintCell(HDC dc, int col, int row, const RECT& cell);
  // The column whose right edge lies within a few pixels of x on the header row.
  int ResizeEdgeAt(POINT point) const;
  void ScrollTo(int top_row);
  void ScrollSideways(int x);

  void KeyDown(WPARAM key);
  // A key pressed with Alt (WM_SYSKEYDOWN): Alt+Down is the pick list's.
  void SystemKeyDown(WPARAM key);
  void PressKey(KeyCode key, KeyModifiers modifiers);
  void SelectText(size_t anchor, size_t caret);
  const std::string& CurrentText() const { return grid_.Cells(grid_.Col(), grid_.Row()); }
  void TypeCharacters(const std::wstring& characters);
  void MouseDown(POINT point);
  // A click on the drop button: the list opens, or the open one closes.
  void ToggleDropDown();
  // The block's far corner to the cell under the mouse while dragging.
  void DragBlock(POINT point);

  PeerSite site_;
  ColumnGrid& grid_;
  GdiObject<HFONT> header_font_;
  GdiObject<HFONT> cell_font_;
  FocusFrame focus_frame_;
  BackBuffer back_buffer_;
  std::optional<CellEdit> edit_;
  std::optional<PickListWindow> pick_list_;
  // The tool tip of the cells that show "###", one tool whose rectangle is
  // the cell under the mouse when that cell shows "###" and empty otherwise.
  OwnedWindow tips_;
  // The cell the tip's tool was last set for (column, row); -1, -1 for none.
  std::pair<int, int> tipped_{-1, -1};
  // The text the tip shows, kept while the tip holds on to it.
  std::wstring tip_text_;
  GdiObject<HBRUSH> edit_brush_;
  Colour edit_brush_colour_ = 0;
  // The current cell and how it looked when the EDIT over it was last drawn
  // with it; none while the EDIT is hidden or after the focus moved.
  struct ShownLook {
    std::pair<int, int> cell;
    Colour background;
    Colour text;
    bool focused;
    bool operator==(const ShownLook&) const = default;
  };
  std::optional<ShownLook> edit_look_;
  // Which of the grid's window and its EDIT has the focus, or null: kept from
  // their focus messages, since under Wine every GetFocus is a round trip to
  // the server and painting a cell asks several times.
  HWND focus_ = nullptr;
  // What the scroll bars were last told; cbSize 0 before the first time.
  SCROLLINFO told_vertical_{};
  SCROLLINFO told_horizontal_{};
  int sizing_col_ = -1;
  int sizing_left_ = 0;
  bool selecting_ = false;
};

}  // namespace tarnvex
