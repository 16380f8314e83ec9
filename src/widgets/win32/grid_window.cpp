#include "widgets/win32/grid_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "widgets/win32/creation_calls.h"
#include "widgets/win32/edit_text.h"
#include "widgets/win32/last_error.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

// Half the width of the zone around a column's right edge where dragging
// resizes the column.
constexpr int kSizingZone = 3;
constexpr int kMinColumnWidth = 4;
constexpr int kTextPadding = 2;
constexpr int kCheckBoxSize = 13;
// How far one click on a horizontal scroll bar arrow moves the columns.
constexpr int kScrollStep = 20;
// The current cell's background while its grid does not have the focus:
// still marked, but quieter than the system's selection colour.
constexpr Colour kQuietHighlight = 0xD0D0D0;
// The cells of a block besides the current one: a pale blue (BGR) that the
// text stays readable on and the measure colours do not have.
constexpr Colour kBlockColour = 0xF7D9B9;
// The drop button of a cell with a pick list, inside its focus rectangle:
// narrower than a combo box's, so that a narrow cell's text (two Chinese
// characters in 42 pixels) still shows whole beside it.
constexpr int kDropButtonWidth = 12;
constexpr int kDropButtonInset = 2;
// Closes the open list once the message in hand is over (rendering, a focus
// change). wParam kWhileAway: only if the focus has not come back by then.
constexpr UINT kCloseListMessage = WM_APP + 61;
constexpr WPARAM kWhileAway = 1;
// The tip's one tool.
constexpr UINT_PTR kTipTool = 1;

int TextWidth(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// As many '#' as fit in width pixels, at least one.
std::wstring Hashes(HDC dc, int width) {
  const int hash = TextWidth(dc, L"#");
  return std::wstring(static_cast<size_t>(hash > 0 ? std::max(1, width / hash) : 1), L'#');
}

UINT HorizontalFormat(HorizontalAlignment alignment) {
  switch (alignment) {
    case HorizontalAlignment::kCentre:
      return DT_CENTER;
    case HorizontalAlignment::kRight:
      return DT_RIGHT;
    case HorizontalAlignment::kLeft:
      break;
  }
  return DT_LEFT;
}

UINT VerticalFormat(VerticalAlignment alignment) {
  switch (alignment) {
    case VerticalAlignment::kTop:
      return DT_TOP;
    case VerticalAlignment::kBottom:
      return DT_BOTTOM;
    case VerticalAlignment::kCentre:
      break;
  }
  return DT_VCENTER;
}

}  // namespace

GridWindow::GridWindow(const PeerSite& site, ColumnGrid& grid)
    : site_(site),
      grid_(grid),
      header_font_(MakeFont(grid.look.header_font)),
      cell_font_(MakeFont(grid.look.cell_font)) {
  CreateBound(0, kClassName, nullptr,
              WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, {}, site.parent,
              site.instance);
  // The horizontal bar shows only while the columns are wider than the window.
  ShowScrollBar(window(), SB_HORZ, FALSE);
  edit_.emplace(*this, site.instance);
  SendMessageW(edit_->window(), WM_SETFONT, reinterpret_cast<WPARAM>(cell_font_.get()), FALSE);
  pick_list_.emplace(site.instance, window(), cell_font_.get());
  pick_list_->on_pick = [this](int index) { site_.Input([&] { grid_.PickItem(index); }); };
  pick_list_->on_cancel = [this] { site_.Input([&] { grid_.CloseDropDown(); }); };
  tips_ = OwnedWindow(Creation().create_window(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                                               window(), nullptr, site.instance, nullptr));
  if (tips_.get() == nullptr) ThrowLastError("CreateWindowExW");
  // Its text is asked for when it shows (TTN_GETDISPINFOW), so that it is
  // the cell's text of the moment; its rectangle follows the mouse.
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window();
  tool.uId = kTipTool;
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  grid_.set_handle(reinterpret_cast<WindowHandle>(window()));
}

GridWindow::CellEdit::CellEdit(GridWindow& grid, HINSTANCE instance) : grid_(grid) {
  CreateSubclassed(0, L"EDIT", nullptr, WS_CHILD | ES_AUTOHSCROLL, {}, grid.window(), instance);
}

std::vector<GridWindow::Placed> GridWindow::Layout() const {
  std::vector<Placed> placed;
  placed.reserve(static_cast<size_t>(grid_.ColumnCount()));
  const int frozen_width = grid_.FrozenWidth();
  int offset = 0;
  for (int col = 0; col < grid_.ColumnCount(); ++col) {
    const GridColumn& column = grid_.Column(col);
    if (!column.visible) continue;
    if (col < grid_.FrozenColumns()) {
      placed.push_back({col, offset, column.width, offset});
    } else {
      const int left = offset - grid_.ScrollX();
      // Columns scrolled wholly under the frozen ones are not on screen.
      if (left + column.width > frozen_width) {
        placed.push_back({col, left, column.width, std::max(left, frozen_width)});
      }
    }
    offset += column.width + 1;
  }
  return placed;
}

int GridWindow::RowsOnScreen() const {
  const RECT client = ClientRect();
  return std::max(1, static_cast<int>(client.bottom - Pitch()) / Pitch());
}

GridWindow::Hit GridWindow::HitTest(POINT point) const {
  Hit hit;
  for (const Placed& placed : Layout()) {
    if (point.x >= placed.clip && point.x < placed.left + placed.width + 1) {
      hit.col = placed.col;
      break;
    }
  }
  if (point.y >= 0 && point.y < Pitch()) {
    hit.row = 0;
  } else if (point.y >= Pitch()) {
    const int row = grid_.TopRow() + (point.y - Pitch()) / Pitch();
    if (row < grid_.RowCount()) hit.row = row;
  }
  return hit;
}

RECT GridWindow::CellRect(int col, int row) const {
  RECT cell{};
  const int top_row = grid_.TopRow();
  if (row != 0 && (row < top_row || row >= top_row + RowsOnScreen())) return cell;
  for (const Placed& placed : Layout()) {
    if (placed.col != col) continue;
    const int top = row == 0 ? 0 : Pitch() * (1 + row - top_row);
    cell = {placed.clip, top, placed.left + placed.width, top + grid_.look.default_row_height};
  }
  return cell;
}

int GridWindow::ResizeEdgeAt(POINT point) const {
  if (point.y < 0 || point.y >= Pitch()) return -1;
  for (const Placed& placed : Layout()) {
    const int edge = placed.left + placed.width;
    if (edge < placed.clip) continue;
    if (point.x >= edge - kSizingZone && point.x <= edge + kSizingZone) return placed.col;
  }
  return -1;
}

void GridWindow::UpdateViewport() {
  grid_.SetViewport(RowsOnScreen(), static_cast<int>(ClientRect().right));
  const bool shown = (GetWindowLongW(window(), GWL_STYLE) & WS_HSCROLL) != 0;
  // Showing or hiding the bar resizes the client area, which comes back here
  // through WM_SIZE with the bar already as wanted.
  if (grid_.ScrollsSideways() != shown) ShowScrollBar(window(), SB_HORZ, !shown);
}

void GridWindow::SetScrollBar(int bar, const SCROLLINFO& wanted) {
  // Every input renders the grid, and a bar redraws itself on every
  // SetScrollInfo: one told the same as last time is left alone. (What the
  // bar reports back is clamped, so it is compared with what it was told.)
  SCROLLINFO& told = bar == SB_VERT ? told_vertical_ : told_horizontal_;
  if (told.cbSize == wanted.cbSize && told.fMask == wanted.fMask && told.nMin == wanted.nMin &&
      told.nMax == wanted.nMax && told.nPage == wanted.nPage && told.nPos == wanted.nPos) {
    return;
  }
  told = wanted;
  SetScrollInfo(window(), bar, &wanted, TRUE);
}

void GridWindow::UpdateScrollBars() {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 1;
  info.nMax = std::max(1, grid_.RowCount() - 1);
  info.nPage = static_cast<UINT>(grid_.ViewportRows());
  info.nPos = grid_.TopRow();
  SetScrollBar(SB_VERT, info);
  if (!grid_.ScrollsSideways()) return;
  // The bar stands for the scrolling columns only; the frozen ones never move.
  const int frozen_width = grid_.FrozenWidth();
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, grid_.ContentWidth() - frozen_width - 1);
  info.nPage = static_cast<UINT>(std::max(0, grid_.ViewportWidth() - frozen_width));
  info.nPos = grid_.ScrollX();
  SetScrollBar(SB_HORZ, info);
}

void GridWindow::ScrollTo(int top_row) {
  site_.Input([&] { grid_.ScrollToRow(top_row); });
}

void GridWindow::ScrollSideways(int x) {
  site_.Input([&] { grid_.ScrollToX(x); });
}

void GridWindow::Repaint(const ColumnGrid::Changes& changes) {
  // The EDIT lies over the current cell in the cell's colours and shows its
  // text, which PlaceEdit has just given it: while the cell looks as it did,
  // a change of its text is the EDIT's to draw, and the grid draws nothing (a
  // keystroke then costs no paint of the grid). Otherwise the EDIT is drawn
  // again with the cell.
  const std::pair<int, int> current{grid_.Col(), grid_.Row()};
  const bool edit_shown = edit_ && IsWindowVisible(edit_->window());
  const std::optional<ShownLook> look =
      edit_shown
          ? std::optional<ShownLook>({current, CellBackground(current.first, current.second),
                                      CellTextColour(current.first, current.second), HasFocus()})
          : std::nullopt;
  const bool looks_as_shown = look && look == edit_look_;
  edit_look_ = look;
  const bool current_changed =
      changes.all || std::ranges::find(changes.cells, current) != changes.cells.end();
  if (edit_ && current_changed && !looks_as_shown) {
    InvalidateRect(edit_->window(), nullptr, TRUE);
  }
  if (changes.all) {
    InvalidateRect(window(), nullptr, FALSE);
    return;
  }
  for (const auto& [col, row] : changes.cells) {
    if (looks_as_shown && std::pair{col, row} == current) continue;
    RECT cell = CellRect(col, row);
    if (!IsRectEmpty(&cell)) InvalidateRect(window(), &cell, FALSE);
  }
}

void GridWindow::FocusChanged(HWND window, bool gained) {
  if (gained) {
    focus_ = window;
  } else if (focus_ == window) {
    focus_ = nullptr;
  }
  OnFocusChange();
}

bool GridWindow::ShowsCaret(int col, int row) const {
  return grid_.caret_mode() && col == grid_.Col() && row == grid_.Row();
}

Colour GridWindow::CellBackground(int col, int row) const {
  if (row == 0) return grid_.look.fixed_colour;
  // A caret in the text: the cell looks as the others of its row do, so that
  // the selection's highlight stands out in it.
  if (col == grid_.Col() && row == grid_.Row() && !ShowsCaret(col, row)) {
    return HasFocus() ? static_cast<Colour>(GetSysColor(COLOR_HIGHLIGHT)) : kQuietHighlight;
  }
  if (grid_.HasBlock() && grid_.Block().Contains(col, row)) return kBlockColour;
  if (row == grid_.Row() && grid_.look.current_row_colour) return *grid_.look.current_row_colour;
  return grid_.CellColour(col, row).value_or(grid_.look.colour);
}

Colour GridWindow::CellTextColour(int col, int row) const {
  if (row == 0) return grid_.look.header_font.colour;
  if (col == grid_.Col() && row == grid_.Row() && HasFocus() && !ShowsCaret(col, row)) {
    return static_cast<Colour>(GetSysColor(COLOR_HIGHLIGHTTEXT));
  }
  return grid_.look.cell_font.colour;
}

void GridWindow::OnFocusChange() {
  // The cell is drawn again in its new look; the next repaint compares with that.
  edit_look_.reset();
  RECT cell = CellRect(grid_.Col(), grid_.Row());
  if (!IsRectEmpty(&cell)) InvalidateRect(window(), &cell, FALSE);
  if (edit_) InvalidateRect(edit_->window(), nullptr, TRUE);
}

void GridWindow::PlaceEdit() {
  const HWND edit = edit_ ? edit_->window() : nullptr;
  if (edit == nullptr) return;
  const int col = grid_.Col();
  const int row = grid_.Row();
  const GridColumn& column = grid_.Column(col);
  RECT cell = CellRect(col, row);
  const bool editable =
      column.kind == CellKind::kText && column.visible && !column.read_only && !IsRectEmpty(&cell);
  if (!editable) {
    if (focus_ == edit) SetFocus(window());
    ShowWindow(edit, SW_HIDE);
    return;
  }
  // Placed before its text is set: an EDIT scrolls to keep the caret in
  // view, and one still without width would scroll the text out of sight.
  // Inside the cell's focus rectangle, which stays visible around it, and
  // left of a drop button.
  const RECT button = DropButtonRect();
  const LONG right = IsRectEmpty(&button) ? cell.right - 1 : button.left;
  const RECT place{cell.left + 2, cell.top + 2, right, cell.bottom - 1};
  RECT now{};
  GetWindowRect(edit, &now);
  MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&now), 2);
  const bool moved = !IsWindowVisible(edit) || !EqualRect(&now, &place);
  if (moved) {
    SetWindowPos(edit, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(edit, nullptr, TRUE);
  }
  ShowEditText(edit, ToWide(grid_.Cells(col, row)));
  ShowEditSelection(edit, grid_.Cells(col, row), grid_.TextAnchor(), grid_.TextCaret());
  // The text and caret may have stayed as they were, in a box of another size.
  if (moved) SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  if (focus_ == window()) SetFocus(edit);
}

RECT GridWindow::DropButtonRect() const {
  const GridColumn& column = grid_.Column(grid_.Col());
  if (column.pick_list.empty() || column.read_only || column.kind != CellKind::kText) return {};
  RECT cell = CellRect(grid_.Col(), grid_.Row());
  if (IsRectEmpty(&cell)) return {};
  // Never wider than half the cell, which keeps room for its text.
  const int width = std::min<int>(kDropButtonWidth, (cell.right - cell.left) / 2);
  return {cell.right - kDropButtonInset - width, cell.top + kDropButtonInset,
          cell.right - kDropButtonInset, cell.bottom - kDropButtonInset};
}

void GridWindow::SyncPickList() {
  if (!grid_.dropped_down()) {
    pick_list_->Hide();
    return;
  }
  RECT cell = CellRect(grid_.Col(), grid_.Row());
  if (IsRectEmpty(&cell)) {
    // Scrolled out of sight: the list has nothing left to hang from.
    pick_list_->Hide();
    PostMessageW(window(), kCloseListMessage, 0, 0);
    return;
  }
  MapWindowPoints(window(), nullptr, reinterpret_cast<POINT*>(&cell), 2);
  pick_list_->Show(grid_.Column(grid_.Col()).pick_list, grid_.picked(), cell,
                   grid_.look.default_row_height);
}

void GridWindow::Sync() {
  if (window() == nullptr) return;
  PlaceWindow(window(), grid_);
  UpdateViewport();
  UpdateScrollBars();
  PlaceEdit();
  const ColumnGrid::Changes changes = grid_.TakeChanges();
  // What lies under the mouse may have changed: the tip's cell is found again
  // at the next move.
  if (changes.all) tipped_ = {-1, -1};
  Repaint(changes);
  SyncPickList();
}

void GridWindow::PaintCell(HDC dc, int col, int row, const RECT& cell) {
  const GridColumn& column = grid_.Column(col);
  const bool header = row == 0;
  FillSolid(dc, cell, CellBackground(col, row));
  if (!header && column.kind == CellKind::kCheckBox) {
    const int left = (cell.left + cell.right - kCheckBoxSize) / 2;
    const int top = (cell.top + cell.bottom - kCheckBoxSize) / 2;
    RECT box{left, top, left + kCheckBoxSize, top + kCheckBoxSize};
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (grid_.Ticked(col, row)) state |= DFCS_CHECKED;
    if (column.read_only) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
  } else {
    const CellAlignment alignment = grid_.Alignment(col, row);
    SelectedObject selected(dc, header ? header_font_.get() : cell_font_.get());
    SetTextColor(dc, ToColorRef(CellTextColour(col, row)));
    SetBkMode(dc, TRANSPARENT);
    RECT text_rect{cell.left + kTextPadding, cell.top, cell.right - kTextPadding, cell.bottom};
    // A number cut to its last digits would be read as another number.
    const int width = text_rect.right - text_rect.left;
    const std::wstring text =
        ShowsHashes(dc, col, row, width) ? Hashes(dc, width) : ToWide(grid_.Cells(col, row));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
              DT_SINGLELINE | DT_NOPREFIX | HorizontalFormat(alignment.horizontal) |
                  VerticalFormat(alignment.vertical));
  }
  if (!header && col == grid_.Col() && row == grid_.Row() && HasFocus()) {
    RECT focus = cell;
    InflateRect(&focus, -1, -1);
    focus_frame_.Draw(dc, focus);
  }
  if (!header && col == grid_.Col() && row == grid_.Row()) {
    RECT button = DropButtonRect();
    if (!IsRectEmpty(&button)) {
      DrawFrameControl(dc, &button, DFC_SCROLL,
                       DFCS_SCROLLCOMBOBOX | (grid_.dropped_down() ? DFCS_PUSHED : 0));
    }
  }
}

bool GridWindow::ShowsHashes(HDC dc, int col, int row, int width) const {
  return row > 0 && grid_.Column(col).numbers &&
         TextWidth(dc, ToWide(grid_.Cells(col, row))) > width;
}

void GridWindow::TrackTip(UINT message, WPARAM w_param, LPARAM l_param) {
  const Hit hit = HitTest({GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)});
  if (std::pair{hit.col, hit.row} != tipped_) {
    tipped_ = {hit.col, hit.row};
    // A tip showing for the cell left goes; one for the new cell comes after
    // the mouse rests there.
    SendMessageW(tips_.get(), TTM_POP, 0, 0);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window();
    tool.uId = kTipTool;
    if (hit.col >= 0 && hit.row > 0) {
      ScreenDc dc(GetDC(nullptr));
      SelectedObject font(dc.get(), cell_font_.get());
      const int width = grid_.Column(hit.col).width - 2 * kTextPadding;
      if (ShowsHashes(dc.get(), hit.col, hit.row, width)) tool.rect = CellRect(hit.col, hit.row);
    }
    SendMessageW(tips_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  MSG relayed{};
  relayed.hwnd = window();
  relayed.message = message;
  relayed.wParam = w_param;
  relayed.lParam = l_param;
  SendMessageW(tips_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void GridWindow::OnNotify(NMHDR& header) {
  if (header.hwndFrom != tips_.get() || header.code != TTN_GETDISPINFOW) return;
  const auto [col, row] = tipped_;
  const bool on_cell = col >= 0 && col < grid_.ColumnCount() && row > 0 && row < grid_.RowCount();
  tip_text_ = on_cell ? ToWide(grid_.Cells(col, row)) : std::wstring();
  reinterpret_cast<NMTTDISPINFOW&>(header).lpszText = tip_text_.data();
}

void GridWindow::Paint(HDC dc, const RECT& dirty) {
  const RECT client = ClientRect();
  HDC draw = back_buffer_.Begin(dc, dirty);
  // The grid lines are what shows between the cells; past the last column and
  // row lies the control's own background. Only what is dirty is drawn (a
  // keystroke makes one cell dirty).
  FillSolid(draw, dirty, grid_.look.colour);
  const std::vector<Placed> layout = Layout();
  const int row_height = grid_.look.default_row_height;
  const int right = layout.empty() ? 0 : layout.back().left + layout.back().width + 1;
  auto paint_row = [&](int row, int top) {
    if (top > dirty.bottom || top + Pitch() < dirty.top) return;
    RECT line{0, top, std::min<LONG>(right, client.right), top + Pitch()};
    FillSolid(draw, line, grid_.look.line_colour);
    // Right to left: the frozen columns come last and cover what of the
    // scrolling ones lies under them.
    for (auto placed = layout.rbegin(); placed != layout.rend(); ++placed) {
      if (placed->left > std::min(client.right, dirty.right)) continue;
      if (placed->left + placed->width + 1 < dirty.left) continue;
      RECT cell{placed->left, top, placed->left + placed->width, top + row_height};
      // A column scrolled partly under the frozen ones shows only right of
      // them: not in the grid line after the last frozen column either.
      const int saved = placed->clip > placed->left ? SaveDC(draw) : 0;
      if (saved != 0) IntersectClipRect(draw, placed->clip, cell.top, cell.right, cell.bottom);
      PaintCell(draw, placed->col, row, cell);
      if (saved != 0) RestoreDC(draw, saved);
    }
  };
  paint_row(0, 0);
  const int rows = RowsOnScreen() + 1;
  for (int row = grid_.TopRow(), i = 0; row < grid_.RowCount() && i < rows; ++row, ++i) {
    paint_row(row, Pitch() * (1 + i));
  }
  back_buffer_.Present(dc);
}

void GridWindow::KeyDown(WPARAM key) { PressKey(static_cast<KeyCode>(key), HeldModifiers()); }

void GridWindow::SystemKeyDown(WPARAM key) {
  if (key != VK_DOWN) return;
  // Alt+Down opens the list as F4 does, and on an open list takes its item
  // as F4 does there.
  site_.Input([&] {
    if (grid_.dropped_down()) {
      grid_.PressKey(kKeyF4);
    } else {
      grid_.DropDown();
    }
  });
}

void GridWindow::ToggleDropDown() {
  site_.Input([&] {
    if (grid_.dropped_down()) {
      grid_.CloseDropDown();
    } else {
      grid_.DropDown();
    }
  });
}

void GridWindow::PressKey(KeyCode key, KeyModifiers modifiers) {
  site_.Input([&] { grid_.PressKey(key, modifiers); });
}

void GridWindow::SelectText(size_t anchor, size_t caret) {
  site_.Input([&] { grid_.SelectText(anchor, caret); });
}

void GridWindow::TypeCharacters(const std::wstring& characters) {
  site_.Input([&] {
    // The grid takes code page 936 bytes: a Chinese character arrives as its
    // two bytes, one after the other.
    for (wchar_t character : characters) {
      if (character < 0x80) {
        grid_.TypeChar(static_cast<char>(character));
      } else {
        grid_.TypeText(FromWide(std::wstring(1, character)));
      }
    }
  });
}

void GridWindow::MouseDown(POINT point) {
  SetFocus(window());
  sizing_col_ = ResizeEdgeAt(point);
  if (sizing_col_ >= 0) {
    for (const Placed& placed : Layout()) {
      if (placed.col == sizing_col_) sizing_left_ = placed.left;
    }
    SetCapture(window());
    return;
  }
  const RECT button = DropButtonRect();
  if (PtInRect(&button, point)) {
    ToggleDropDown();
    return;
  }
  const Hit hit = HitTest(point);
  if (hit.col < 0 || hit.row < 0) return;
  if (hit.row > 0 && GetKeyState(VK_SHIFT) < 0) {
    site_.Input([&] { grid_.ExtendBlock(hit.col, hit.row); });
    return;
  }
  site_.Input([&] { grid_.ClickCell(hit.col, hit.row); });
  // A drag from a data cell selects the block up to where the mouse goes.
  if (hit.row > 0) {
    selecting_ = true;
    SetCapture(window());
  }
}

void GridWindow::DragBlock(POINT point) {
  const Hit hit = HitTest(point);
  if (hit.col < 0 || hit.row < 1) return;
  // Each move within the same cell would otherwise repaint the grid.
  if (CellBlock::Between(grid_.Col(), grid_.Row(), hit.col, hit.row) == grid_.Block()) return;
  site_.Input([&] { grid_.ExtendBlock(hit.col, hit.row); });
}

LRESULT GridWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  if (LRESULT painted = 0; HandlePainting(message, w_param, painted)) return painted;
  switch (message) {
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_KILLFOCUS:
      FocusChanged(window(), false);
      OnKillFocus(reinterpret_cast<HWND>(w_param));
      break;
    case WM_KEYDOWN:
      KeyDown(w_param);
      return 0;
    case WM_SYSKEYDOWN:
      // Handled, and still passed on: DefWindowProc must see another key
      // with Alt, or releasing Alt afterwards would open the window menu.
      SystemKeyDown(w_param);
      break;
    case WM_CHAR:
      TypeCharacters(std::wstring(1, static_cast<wchar_t>(w_param)));
      return 0;
    case WM_LBUTTONDOWN:
      TrackTip(message, w_param, l_param);
      MouseDown({GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)});
      return 0;
    case WM_MOUSEMOVE:
      TrackTip(message, w_param, l_param);
      OnMouseMove({GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)});
      return 0;
    case WM_LBUTTONUP:
      TrackTip(message, w_param, l_param);
      if (GetCapture() == window()) ReleaseCapture();
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<NMHDR*>(l_param));
      return 0;
    case kCloseListMessage:
      if (grid_.dropped_down() && (w_param != kWhileAway || !HasFocus())) {
        site_.Input([&] { grid_.CloseDropDown(); });
      }
      return 0;
    case WM_CAPTURECHANGED:
      sizing_col_ = -1;
      selecting_ = false;
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(l_param) == HTCLIENT && OnSetCursor()) return TRUE;
      break;
    case WM_VSCROLL:
      OnVerticalScroll(LOWORD(w_param));
      return 0;
    case WM_HSCROLL:
      OnHorizontalScroll(LOWORD(w_param));
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(grid_.TopRow() - 3 * GET_WHEEL_DELTA_WPARAM(w_param) / WHEEL_DELTA);
      return 0;
    case WM_CTLCOLOREDIT:
      return OnEditColour(reinterpret_cast<HDC>(w_param));
    default:
      break;
  }
  return Default(message, w_param, l_param);
}

void GridWindow::OnSize() {
  UpdateViewport();
  UpdateScrollBars();
  PlaceEdit();
  InvalidateRect(window(), nullptr, FALSE);
}

void GridWindow::OnSetFocus() {
  FocusChanged(window(), true);
  if (edit_ && IsWindowVisible(edit_->window())) SetFocus(edit_->window());
}

void GridWindow::OnKillFocus(HWND to) {
  const bool stays = to == window() || (edit_ && to == edit_->window());
  if (stays || !grid_.dropped_down()) return;
  // The list goes from the screen at once (a box that took the focus shows
  // without it); the grid closes it once the focus has settled.
  pick_list_->Hide();
  PostMessageW(window(), kCloseListMessage, kWhileAway, 0);
}

void GridWindow::OnMouseMove(POINT point) {
  if (GetCapture() != window()) return;
  if (selecting_) {
    DragBlock(point);
    return;
  }
  if (sizing_col_ < 0) return;
  const int width = std::max(kMinColumnWidth, static_cast<int>(point.x) - sizing_left_);
  site_.Input([&] { grid_.SetColumnWidth(sizing_col_, width); });
}

bool GridWindow::OnSetCursor() {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(window(), &point);
  if (sizing_col_ < 0 && ResizeEdgeAt(point) < 0) return false;
  SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
  return true;
}

void GridWindow::OnVerticalScroll(WORD request) {
  const std::optional<int> top = ScrollTarget(SB_VERT, request,
                                              {.now = grid_.TopRow(),
                                               .line = 1,
                                               .page = RowsOnScreen(),
                                               .first = 1,
                                               .last = grid_.RowCount()});
  if (top) ScrollTo(*top);
}

void GridWindow::OnHorizontalScroll(WORD request) {
  const int page = std::max(1, grid_.ViewportWidth() - grid_.FrozenWidth());
  const std::optional<int> x = ScrollTarget(SB_HORZ, request,
                                            {.now = grid_.ScrollX(),
                                             .line = kScrollStep,
                                             .page = page,
                                             .first = 0,
                                             .last = grid_.MaxScrollX()});
  if (x) ScrollSideways(*x);
}

std::optional<int> GridWindow::ScrollTarget(int bar, WORD request, const ScrollSteps& steps) const {
  // The requests of both bars share their codes: SB_LINEUP is SB_LINELEFT,
  // SB_TOP is SB_LEFT, and so on.
  switch (request) {
    case SB_LINEUP:
      return steps.now - steps.line;
    case SB_LINEDOWN:
      return steps.now + steps.line;
    case SB_PAGEUP:
      return steps.now - steps.page;
    case SB_PAGEDOWN:
      return steps.now + steps.page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(window(), bar, &info);
      return info.nTrackPos;
    }
    case SB_TOP:
      return steps.first;
    case SB_BOTTOM:
      return steps.last;
    default:
      return std::nullopt;
  }
}

LRESULT GridWindow::OnEditColour(HDC dc) {
  // The EDIT lies over the current cell and shows it as the cell is drawn.
  const Colour colour = CellBackground(grid_.Col(), grid_.Row());
  if (edit_brush_.get() == nullptr || edit_brush_colour_ != colour) {
    edit_brush_ = GdiObject<HBRUSH>(CreateSolidBrush(ToColorRef(colour)));
    edit_brush_colour_ = colour;
  }
  SetBkColor(dc, ToColorRef(colour));
  SetTextColor(dc, ToColorRef(CellTextColour(grid_.Col(), grid_.Row())));
  return reinterpret_cast<LRESULT>(edit_brush_.get());
}

LRESULT GridWindow::CellEdit::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      grid_.KeyDown(w_param);
      return 0;
    case WM_CHAR:
      grid_.TypeCharacters(std::wstring(1, static_cast<wchar_t>(w_param)));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      // A click into the current cell's text: the EDIT places the caret
      // under the mouse, and the grid takes it over in caret mode.
      const LRESULT result = Default(message, w_param, l_param);
      const auto selection =
          SelectionByMouse(window(), message, w_param, grid_.CurrentText(), drag_anchor_);
      if (selection) grid_.SelectText(selection->anchor, selection->caret);
      return result;
    }
    case WM_SETFOCUS:
      grid_.FocusChanged(window(), true);
      break;
    case WM_KILLFOCUS:
      grid_.FocusChanged(window(), false);
      grid_.OnKillFocus(reinterpret_cast<HWND>(w_param));
      break;
    case WM_SYSKEYDOWN:
      // Passed on after, as the grid's window passes it on.
      grid_.SystemKeyDown(w_param);
      break;
    default:
      if (const auto command = KeyOfEditCommand(message)) {
        grid_.PressKey(command->key, command->modifiers);
        return 0;
      }
      break;
  }
  return Default(message, w_param, l_param);
}

}  // namespace tarnvex
