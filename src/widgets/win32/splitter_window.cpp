#include "widgets/win32/splitter_window.h"

namespace tarnvex {

SplitterWindow::SplitterWindow(const PeerSite& site, Splitter& splitter)
    : site_(site), splitter_(splitter) {
  CreateBound(0, kClassName, nullptr, WS_CHILD, {}, site.parent, site.instance);
  splitter_.set_handle(reinterpret_cast<WindowHandle>(window()));
}

bool SplitterWindow::Vertical() const {
  return splitter_.align() == Align::kLeft || splitter_.align() == Align::kRight;
}

void SplitterWindow::Sync() {
  if (window() == nullptr) return;
  // Keep the bar above its neighbours, which it overlaps by nothing but must
  // not be covered by when they repaint. Only a bar just moved or shown can
  // have come to lie under them; raising it on every render would cost each
  // keystroke a window move.
  if (!PlaceWindow(window(), splitter_)) return;
  SetWindowPos(window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT SplitterWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, Vertical() ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN:
      OnButtonDown();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove();
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    default:
      break;
  }
  return Default(message, w_param, l_param);
}

void SplitterWindow::OnButtonDown() {
  GetCursorPos(&last_);
  dragging_ = true;
  SetCapture(window());
}

void SplitterWindow::OnMouseMove() {
  if (!dragging_ || GetCapture() != window()) return;
  POINT now{};
  GetCursorPos(&now);
  const int delta = Vertical() ? now.x - last_.x : now.y - last_.y;
  last_ = now;
  if (delta != 0) site_.Input([&] { splitter_.DragBy(delta); });
}

}  // namespace tarnvex
