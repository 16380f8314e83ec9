#include "widgets/win32/painted_window.h"

#include "widgets/win32/device_contexts.h"

namespace tarnvex {

bool PaintedWindow::HandlePainting(UINT message, WPARAM w_param, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PaintScope paint(window());
      Paint(paint.dc(), paint.dirty());
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(w_param), ClientRect());
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace tarnvex
