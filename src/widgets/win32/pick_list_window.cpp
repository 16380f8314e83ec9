#include "widgets/win32/pick_list_window.h"

#include <windowsx.h>

#include <algorithm>

#include "widgets/win32/creation_calls.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

// Items shown at once; a longer list scrolls.
constexpr int kMostRows = 12;
// Room beside an item's text, as a combo box's list leaves it.
constexpr int kItemPadding = 4;
// Posted by the hook when the anchor moved: handled once the move is over.
constexpr UINT kAnchorMovedMessage = WM_APP + 60;

// The list on screen on this thread: the keyboard focus is in one grid at a
// time, so one list at most shows.
PickListWindow* g_shown = nullptr;

}  // namespace

PickListWindow::PickListWindow(HINSTANCE instance, HWND anchor, HFONT font)
    : anchor_(anchor), font_(font) {
  // A popup given a child window as its parent is owned by that window's
  // top-level window.
  CreateSubclassed(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"LISTBOX", nullptr,
                   WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, {}, anchor, instance);
  SendMessageW(window(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

PickListWindow::~PickListWindow() {
  if (g_shown == this) g_shown = nullptr;
}

void PickListWindow::Fill(const std::vector<std::string>& items, int item_height) {
  if (items == items_ && item_height == item_height_) return;
  items_ = items;
  item_height_ = item_height;
  SendMessageW(window(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(window(), LB_RESETCONTENT, 0, 0);
  ScreenDc dc(GetDC(nullptr));
  SelectedObject selected(dc.get(), font_);
  widest_ = 0;
  for (const std::string& item : items) {
    const std::wstring text = ToWide(item);
    SendMessageW(window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    widest_ = std::max(widest_, static_cast<int>(size.cx));
  }
  SendMessageW(window(), LB_SETITEMHEIGHT, 0, item_height);
  SendMessageW(window(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window(), nullptr, TRUE);
}

RECT PickListWindow::PlaceFor(const RECT& cell, int rows) const {
  const bool scrolls = static_cast<int>(items_.size()) > rows;
  const int border = 2 * GetSystemMetrics(SM_CXBORDER);
  const int width = std::max(
      static_cast<int>(cell.right - cell.left),
      widest_ + 2 * kItemPadding + (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0) + border);
  const int height = rows * item_height_ + 2 * GetSystemMetrics(SM_CYBORDER);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromRect(&cell, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& screen = monitor.rcWork;
  // Below the cell's grid line; above the cell when the screen ends first.
  int top = cell.bottom + 1;
  if (top + height > screen.bottom) top = cell.top - height;
  const int left =
      std::clamp<int>(cell.left, screen.left, std::max(screen.left, screen.right - width));
  return {left, top, left + width, top + height};
}

void PickListWindow::Show(const std::vector<std::string>& items, int chosen, const RECT& cell,
                          int item_height) {
  Fill(items, item_height);
  if (SendMessageW(window(), LB_GETCURSEL, 0, 0) != chosen) {
    // The listbox brings the chosen item into view itself.
    SendMessageW(window(), LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  }
  // Owned by the anchor's top-level window as it is now: a screen embedded in
  // a host's window after its controls were made has another one than then.
  const HWND root = GetAncestor(anchor_, GA_ROOT);
  if (reinterpret_cast<HWND>(GetWindowLongPtrW(window(), GWLP_HWNDPARENT)) != root) {
    SetWindowLongPtrW(window(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(root));
  }
  const RECT place = PlaceFor(cell, std::clamp(static_cast<int>(items.size()), 1, kMostRows));
  RECT now{};
  GetWindowRect(window(), &now);
  if (!IsWindowVisible(window()) || !EqualRect(&now, &place)) {
    SetWindowPos(window(), HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  g_shown = this;
  // Without the hook (the system out of them) the list still works; it only
  // no longer closes by itself when the window moves.
  if (moves_.get() == nullptr) {
    moves_ =
        OwnedHook(Creation().set_hook(WH_CALLWNDPROC, WatchMoves, nullptr, GetCurrentThreadId()));
  }
}

void PickListWindow::Hide() {
  // Every message sent on the thread passes the hook: it is there only
  // while the list shows.
  moves_.Reset();
  if (g_shown == this) g_shown = nullptr;
  pressed_ = false;
  if (IsWindowVisible(window())) ShowWindow(window(), SW_HIDE);
}

LRESULT CALLBACK PickListWindow::WatchMoves(int code, WPARAM w_param, LPARAM l_param) {
  if (code == HC_ACTION && g_shown != nullptr) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(l_param);
    if (sent->message == WM_WINDOWPOSCHANGED) {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
      constexpr UINT kStill = SWP_NOMOVE | SWP_NOSIZE;
      const HWND anchor = g_shown->anchor_;
      if ((position->flags & kStill) != kStill &&
          (sent->hwnd == anchor || IsChild(sent->hwnd, anchor))) {
        PostMessageW(g_shown->window(), kAnchorMovedMessage, 0, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, code, w_param, l_param);
}

LRESULT PickListWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Not the listbox's: it would take the focus and the mouse.
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      pressed_ = false;
      const auto hit = static_cast<DWORD>(Default(LB_ITEMFROMPOINT, 0, l_param));
      // The high word says the point lies outside every item.
      if (HIWORD(hit) == 0 && on_pick) on_pick(LOWORD(hit));
      return 0;
    }
    case kAnchorMovedMessage:
      if (IsWindowVisible(window()) && on_cancel) on_cancel();
      return 0;
    default:
      return Default(message, w_param, l_param);
  }
}

}  // namespace tarnvex
