#include "widgets/win32/grid_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "widgets/win32/clipboard_text.h"
#include "widgets/win32/edit_text.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

// Half the width of the zone around a column's right edge where dragging
// resizes the column.
constexpr int kSizingZone = 3;
constexpr int kMinColumnWidth = 4;
constexpr int kTextPadding = 2;
constexpr int kCheckBoxSize = 13;

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
  CreateBound(0, kClassName, nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP | WS_VSCROLL, {},
              site.parent, site.instance);
  edit_.emplace(*this, site.instance);
  SendMessageW(edit_->window(), WM_SETFONT, reinterpret_cast<WPARAM>(cell_font_.get()), FALSE);
  grid_.set_handle(reinterpret_cast<WindowHandle>(window()));
}

GridWindow::CellEdit::CellEdit(GridWindow& grid, HINSTANCE instance) : grid_(grid) {
  CreateSubclassed(0, L"EDIT", nullptr, WS_CHILD | ES_AUTOHSCROLL, {}, grid.window(), instance);
}

std::vector<GridWindow::Placed> GridWindow::Layout() const {
  std::vector<Placed> placed;
  int left = 0;
  for (int col = left_col_; col < grid_.ColumnCount(); ++col) {
    const GridColumn& column = grid_.Column(col);
    if (!column.visible) continue;
    placed.push_back({col, left, column.width});
    left += column.width + 1;
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
    if (point.x >= placed.left && point.x < placed.left + placed.width + 1) hit.col = placed.col;
  }
  if (point.y >= 0 && point.y < Pitch()) {
    hit.row = 0;
  } else if (point.y >= Pitch()) {
    const int row = top_row_ + (point.y - Pitch()) / Pitch();
    if (row < grid_.RowCount()) hit.row = row;
  }
  return hit;
}

RECT GridWindow::CellRect(int col, int row) const {
  RECT cell{};
  if (row != 0 && (row < top_row_ || row >= top_row_ + RowsOnScreen())) return cell;
  for (const Placed& placed : Layout()) {
    if (placed.col != col) continue;
    const int top = row == 0 ? 0 : Pitch() * (1 + row - top_row_);
    cell = {placed.left, top, placed.left + placed.width, top + grid_.look.default_row_height};
  }
  return cell;
}

int GridWindow::ResizeEdgeAt(POINT point) const {
  if (point.y < 0 || point.y >= Pitch()) return -1;
  for (const Placed& placed : Layout()) {
    const int edge = placed.left + placed.width;
    if (point.x >= edge - kSizingZone && point.x <= edge + kSizingZone) return placed.col;
  }
  return -1;
}

void GridWindow::KeepCurrentCellInView() {
  // Only a move of the current cell brings it into view; scrolling by the
  // bar or the wheel leaves it where it is.
  if (grid_.Col() == shown_col_ && grid_.Row() == shown_row_) return;
  shown_col_ = grid_.Col();
  shown_row_ = grid_.Row();
  const int rows = RowsOnScreen();
  if (grid_.Row() < top_row_) top_row_ = grid_.Row();
  if (grid_.Row() >= top_row_ + rows) top_row_ = grid_.Row() - rows + 1;
  const RECT client = ClientRect();
  if (grid_.Col() < left_col_) left_col_ = grid_.Col();
  // Bring the current column's right edge on screen, dropping columns at the
  // left while it does not fit and more than one column is shown.
  while (left_col_ < grid_.Col()) {
    const std::vector<Placed> placed = Layout();
    auto current = std::find_if(placed.begin(), placed.end(),
                                [&](const Placed& p) { return p.col == grid_.Col(); });
    if (current == placed.end() || current->left + current->width <= client.right) break;
    ++left_col_;
  }
}

void GridWindow::UpdateScrollBar() {
  const int data_rows = grid_.RowCount() - 1;
  const int rows = RowsOnScreen();
  top_row_ = std::clamp(top_row_, 1, std::max(1, data_rows - rows + 1));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 1;
  info.nMax = std::max(1, data_rows);
  info.nPage = static_cast<UINT>(rows);
  info.nPos = top_row_;
  SetScrollInfo(window(), SB_VERT, &info, TRUE);
}

void GridWindow::ScrollTo(int top_row) {
  top_row_ = top_row;
  UpdateScrollBar();
  PlaceEdit();
  // Invalidating rather than ScrollWindowEx: Wine then misses no repaint.
  InvalidateRect(window(), nullptr, FALSE);
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
    if (GetFocus() == edit) SetFocus(window());
    ShowWindow(edit, SW_HIDE);
    return;
  }
  // Placed before its text is set: an EDIT scrolls to keep the caret in
  // view, and one still without width would scroll the text out of sight.
  SetWindowPos(edit, nullptr, cell.left + 1, cell.top + 1, cell.right - cell.left - 1,
               cell.bottom - cell.top - 1, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ShowEditText(edit, ToWide(grid_.Cells(col, row)));
  InvalidateRect(edit, nullptr, TRUE);
  if (GetFocus() == window()) SetFocus(edit);
}

void GridWindow::Sync() {
  if (window() == nullptr) return;
  PlaceWindow(window(), grid_);
  if (grid_.Col() < left_col_ || !grid_.Column(left_col_).visible) {
    left_col_ = 0;
  }
  KeepCurrentCellInView();
  UpdateScrollBar();
  PlaceEdit();
  InvalidateRect(window(), nullptr, FALSE);
}

void GridWindow::PaintCell(HDC dc, int col, int row, const RECT& cell) {
  const GridColumn& column = grid_.Column(col);
  const bool header = row == 0;
  Colour background = header ? grid_.look.fixed_colour : grid_.look.colour;
  if (!header) {
    if (auto colour = grid_.CellColour(col, row)) background = *colour;
  }
  FillSolid(dc, cell, background);
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
    const Font& font = header ? grid_.look.header_font : grid_.look.cell_font;
    SelectedObject selected(dc, header ? header_font_.get() : cell_font_.get());
    SetTextColor(dc, ToColorRef(font.colour));
    SetBkMode(dc, TRANSPARENT);
    RECT text_rect{cell.left + kTextPadding, cell.top, cell.right - kTextPadding, cell.bottom};
    const std::wstring text = ToWide(grid_.Cells(col, row));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
              DT_SINGLELINE | DT_NOPREFIX | HorizontalFormat(alignment.horizontal) |
                  VerticalFormat(alignment.vertical));
  }
  if (!header && col == grid_.Col() && row == grid_.Row()) {
    RECT focus = cell;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
}

void GridWindow::Paint(HDC dc, const RECT& dirty) {
  const RECT client = ClientRect();
  BufferedCanvas canvas(dc, client.right, client.bottom);
  HDC draw = canvas.dc();
  // The grid lines are what shows between the cells; past the last column and
  // row lies the control's own background.
  FillSolid(draw, client, grid_.look.colour);
  const std::vector<Placed> layout = Layout();
  const int row_height = grid_.look.default_row_height;
  int right = layout.empty() ? 0 : layout.back().left + layout.back().width + 1;
  auto paint_row = [&](int row, int top) {
    if (top > dirty.bottom || top + Pitch() < dirty.top) return;
    RECT line{0, top, std::min<LONG>(right, client.right), top + Pitch()};
    FillSolid(draw, line, grid_.look.line_colour);
    for (const Placed& placed : layout) {
      if (placed.left > client.right) break;
      RECT cell{placed.left, top, placed.left + placed.width, top + row_height};
      PaintCell(draw, placed.col, row, cell);
    }
  };
  paint_row(0, 0);
  const int rows = RowsOnScreen() + 1;
  for (int row = top_row_, i = 0; row < grid_.RowCount() && i < rows; ++row, ++i) {
    paint_row(row, Pitch() * (1 + i));
  }
  canvas.Present();
}

void GridWindow::KeyDown(WPARAM key) {
  site_.Input([&] { grid_.PressKey(static_cast<KeyCode>(key)); });
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
  const Hit hit = HitTest(point);
  if (hit.col < 0 || hit.row < 0) return;
  site_.Input([&] { grid_.ClickCell(hit.col, hit.row); });
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
    case WM_KEYDOWN:
      KeyDown(w_param);
      return 0;
    case WM_CHAR:
      TypeCharacters(std::wstring(1, static_cast<wchar_t>(w_param)));
      return 0;
    case WM_LBUTTONDOWN:
      MouseDown({GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)});
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove({GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)});
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      sizing_col_ = -1;
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(l_param) == HTCLIENT && OnSetCursor()) return TRUE;
      break;
    case WM_VSCROLL:
      OnVerticalScroll(LOWORD(w_param));
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(top_row_ - 3 * GET_WHEEL_DELTA_WPARAM(w_param) / WHEEL_DELTA);
      return 0;
    case WM_CTLCOLOREDIT:
      return OnEditColour(reinterpret_cast<HDC>(w_param));
    default:
      break;
  }
  return Default(message, w_param, l_param);
}

void GridWindow::OnSize() {
  UpdateScrollBar();
  PlaceEdit();
  InvalidateRect(window(), nullptr, FALSE);
}

void GridWindow::OnSetFocus() {
  if (edit_ && IsWindowVisible(edit_->window())) SetFocus(edit_->window());
  InvalidateRect(window(), nullptr, FALSE);
}

void GridWindow::OnMouseMove(POINT point) {
  if (sizing_col_ < 0 || GetCapture() != window()) return;
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
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window(), SB_VERT, &info);
  int top = top_row_;
  switch (request) {
    case SB_LINEUP:
      top -= 1;
      break;
    case SB_LINEDOWN:
      top += 1;
      break;
    case SB_PAGEUP:
      top -= RowsOnScreen();
      break;
    case SB_PAGEDOWN:
      top += RowsOnScreen();
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      top = info.nTrackPos;
      break;
    case SB_TOP:
      top = 1;
      break;
    case SB_BOTTOM:
      top = grid_.RowCount();
      break;
    default:
      return;
  }
  ScrollTo(top);
}

LRESULT GridWindow::OnEditColour(HDC dc) {
  const Colour colour = grid_.CellColour(grid_.Col(), grid_.Row()).value_or(grid_.look.colour);
  if (edit_brush_.get() == nullptr || edit_brush_colour_ != colour) {
    edit_brush_ = GdiObject<HBRUSH>(CreateSolidBrush(ToColorRef(colour)));
    edit_brush_colour_ = colour;
  }
  SetBkColor(dc, ToColorRef(colour));
  SetTextColor(dc, ToColorRef(grid_.look.cell_font.colour));
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
    case WM_PASTE:
      Paste();
      return 0;
    default:
      if (IsOwnTextChange(message)) return 0;
      break;
  }
  return Default(message, w_param, l_param);
}

void GridWindow::CellEdit::Paste() {
  std::wstring pasted = ClipboardText(window());
  // Line breaks would end the edit; a cell holds one line.
  std::erase_if(pasted, [](wchar_t c) { return c < 0x20; });
  if (!pasted.empty()) grid_.TypeCharacters(pasted);
}

}  // namespace tarnvex
