#include "widgets/win32/grid_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

// Half the width of the zone around a column's right edge where dragging
// resizes the column.
constexpr int kSizingZone = 3;
constexpr int kMinColumnWidth = 4;
constexpr int kTextPadding = 2;
constexpr int kCheckBoxSize = 13;
constexpr UINT_PTR kEditSubclassId = 1;

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

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

}  // namespace

GridWindow::GridWindow(const PeerSite& site, ColumnGrid& grid)
    : site_(site),
      grid_(grid),
      header_font_(MakeFont(grid.look.header_font)),
      cell_font_(MakeFont(grid.look.cell_font)) {
  const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP | WS_VSCROLL;
  if (CreateWindowExW(0, kClassName, nullptr, style, 0, 0, 0, 0, site.parent, nullptr,
                      site.instance, this) == nullptr) {
    ThrowLastError("CreateWindowExW");
  }
  edit_ = CreateWindowExW(0, L"EDIT", nullptr, WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, window_,
                          nullptr, site.instance, nullptr);
  if (edit_ == nullptr) {
    DestroyWindow(window_);
    ThrowLastError("CreateWindowExW");
  }
  SetWindowSubclass(edit_, EditProcedure, kEditSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(cell_font_.get()), FALSE);
  grid_.set_handle(reinterpret_cast<WindowHandle>(window_));
}

GridWindow::~GridWindow() {
  // The subclass goes while the EDIT still exists; a window destroyed with its
  // parent has already taken it along.
  if (edit_ != nullptr && IsWindow(edit_)) RemoveWindowSubclass(edit_, EditProcedure, kEditSubclassId);
  if (window_ != nullptr) DestroyWindow(window_);
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
  RECT client{};
  GetClientRect(window_, &client);
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
  RECT client{};
  GetClientRect(window_, &client);
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
  SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

void GridWindow::ScrollTo(int top_row) {
  top_row_ = top_row;
  UpdateScrollBar();
  PlaceEdit();
  // Invalidating rather than ScrollWindowEx: Wine then misses no repaint.
  InvalidateRect(window_, nullptr, FALSE);
}

void GridWindow::PlaceEdit() {
  const int col = grid_.Col();
  const int row = grid_.Row();
  const GridColumn& column = grid_.Column(col);
  RECT cell = CellRect(col, row);
  const bool editable =
      column.kind == CellKind::kText && column.visible && !column.read_only && !IsRectEmpty(&cell);
  if (!editable) {
    if (GetFocus() == edit_) SetFocus(window_);
    ShowWindow(edit_, SW_HIDE);
    return;
  }
  // Placed before its text is set: an EDIT scrolls to keep the caret in
  // view, and one still without width would scroll the text out of sight.
  SetWindowPos(edit_, nullptr, cell.left + 1, cell.top + 1, cell.right - cell.left - 1,
               cell.bottom - cell.top - 1, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  const std::wstring text = ToWide(grid_.Cells(col, row));
  const int length = GetWindowTextLengthW(edit_);
  std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(edit_, shown.data(), length + 1);
  shown.resize(static_cast<size_t>(length));
  if (shown != text) {
    SetWindowTextW(edit_, text.c_str());
    // The caret at the end, where the next typed character goes.
    SendMessageW(edit_, EM_SETSEL, text.size(), text.size());
  }
  InvalidateRect(edit_, nullptr, TRUE);
  if (GetFocus() == window_) SetFocus(edit_);
}

void GridWindow::Sync() {
  if (window_ == nullptr) return;
  PlaceWindow(window_, grid_);
  if (grid_.Col() < left_col_ || !grid_.Column(left_col_).visible) {
    left_col_ = 0;
  }
  KeepCurrentCellInView();
  UpdateScrollBar();
  PlaceEdit();
  InvalidateRect(window_, nullptr, FALSE);
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
  RECT client{};
  GetClientRect(window_, &client);
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
  SetFocus(window_);
  sizing_col_ = ResizeEdgeAt(point);
  if (sizing_col_ >= 0) {
    for (const Placed& placed : Layout()) {
      if (placed.col == sizing_col_) sizing_left_ = placed.left;
    }
    SetCapture(window_);
    return;
  }
  const Hit hit = HitTest(point);
  if (hit.col < 0 || hit.row < 0) return;
  site_.Input([&] { grid_.ClickCell(hit.col, hit.row); });
}

LRESULT GridWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window_, &paint);
      Paint(dc, paint.rcPaint);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(window_, &client);
      Paint(reinterpret_cast<HDC>(w_param), client);
      return 0;
    }
    case WM_SIZE:
      UpdateScrollBar();
      PlaceEdit();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      if (IsWindowVisible(edit_)) SetFocus(edit_);
      InvalidateRect(window_, nullptr, FALSE);
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
      if (sizing_col_ >= 0 && GetCapture() == window_) {
        const int width = std::max(kMinColumnWidth, GET_X_LPARAM(l_param) - sizing_left_);
        site_.Input([&] { grid_.SetColumnWidth(sizing_col_, width); });
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window_) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      sizing_col_ = -1;
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(l_param) == HTCLIENT) {
        POINT point{};
        GetCursorPos(&point);
        ScreenToClient(window_, &point);
        if (sizing_col_ >= 0 || ResizeEdgeAt(point) >= 0) {
          SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_VSCROLL: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_ALL;
      GetScrollInfo(window_, SB_VERT, &info);
      int top = top_row_;
      switch (LOWORD(w_param)) {
        case SB_LINEUP: top -= 1; break;
        case SB_LINEDOWN: top += 1; break;
        case SB_PAGEUP: top -= RowsOnScreen(); break;
        case SB_PAGEDOWN: top += RowsOnScreen(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = info.nTrackPos; break;
        case SB_TOP: top = 1; break;
        case SB_BOTTOM: top = grid_.RowCount(); break;
        default: return 0;
      }
      ScrollTo(top);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(top_row_ - 3 * GET_WHEEL_DELTA_WPARAM(w_param) / WHEEL_DELTA);
      return 0;
    case WM_CTLCOLOREDIT: {
      const auto col = grid_.Col();
      const auto row = grid_.Row();
      const Colour colour = grid_.CellColour(col, row).value_or(grid_.look.colour);
      if (edit_brush_.get() == nullptr || edit_brush_colour_ != colour) {
        edit_brush_ = GdiObject<HBRUSH>(CreateSolidBrush(ToColorRef(colour)));
        edit_brush_colour_ = colour;
      }
      auto dc = reinterpret_cast<HDC>(w_param);
      SetBkColor(dc, ToColorRef(colour));
      SetTextColor(dc, ToColorRef(grid_.look.cell_font.colour));
      return reinterpret_cast<LRESULT>(edit_brush_.get());
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, w_param, l_param);
}

LRESULT CALLBACK GridWindow::EditProcedure(HWND edit, UINT message, WPARAM w_param,
                                           LPARAM l_param, UINT_PTR /*id*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<GridWindow*>(data);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      // Every key is the grid's: it keeps the text and moves the cell.
      self->KeyDown(w_param);
      return 0;
    case WM_CHAR:
      self->TypeCharacters(std::wstring(1, static_cast<wchar_t>(w_param)));
      return 0;
    case WM_PASTE: {
      std::wstring pasted;
      if (OpenClipboard(edit)) {
        if (HANDLE data_handle = GetClipboardData(CF_UNICODETEXT)) {
          if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data_handle))) {
            pasted = text;
            GlobalUnlock(data_handle);
          }
        }
        CloseClipboard();
      }
      // Line breaks would end the edit; a cell holds one line.
      std::erase_if(pasted, [](wchar_t c) { return c < 0x20; });
      if (!pasted.empty()) self->TypeCharacters(pasted);
      return 0;
    }
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, EditProcedure, kEditSubclassId);
      self->edit_ = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, w_param, l_param);
}

}  // namespace tarnvex
