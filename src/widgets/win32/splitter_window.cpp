#include "widgets/win32/splitter_window.h"

#include <system_error>

namespace tarnvex {

SplitterWindow::SplitterWindow(const PeerSite& site, Splitter& splitter)
    : site_(site), splitter_(splitter) {
  if (CreateWindowExW(0, kClassName, nullptr, WS_CHILD, 0, 0, 0, 0, site.parent, nullptr,
                      site.instance, this) == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW");
  }
  splitter_.set_handle(reinterpret_cast<WindowHandle>(window_));
}

SplitterWindow::~SplitterWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool SplitterWindow::Vertical() const {
  return splitter_.align() == Align::kLeft || splitter_.align() == Align::kRight;
}

void SplitterWindow::Sync() {
  if (window_ == nullptr) return;
  PlaceWindow(window_, splitter_);
  // Keep the bar above its neighbours, which it overlaps by nothing but must
  // not be covered by when they repaint.
  SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT SplitterWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, Vertical() ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN:
      GetCursorPos(&last_);
      dragging_ = true;
      SetCapture(window_);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && GetCapture() == window_) {
        POINT now{};
        GetCursorPos(&now);
        const int delta = Vertical() ? now.x - last_.x : now.y - last_.y;
        last_ = now;
        if (delta != 0) site_.Input([&] { splitter_.DragBy(delta); });
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window_) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, w_param, l_param);
}

}  // namespace tarnvex
