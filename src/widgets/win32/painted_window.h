#pragma once

#include <windows.h>

#include "widgets/win32/window_base.h"

namespace tarnvex {

// A window of ours that paints all of its client area itself, so the
// background is never erased first (that is what flickers), and that paints
// into a device context it is given (WM_PRINTCLIENT), so captures show it.
class PaintedWindow : public WindowBase {
 protected:
  // Paints at least dirty; dc is the window's own or a capture's.
  virtual void Paint(HDC dc, const RECT& dirty) = 0;
  // Handles WM_ERASEBKGND, WM_PAINT and WM_PRINTCLIENT into result; false
  // for any other message.
  bool HandlePainting(UINT message, WPARAM w_param, LRESULT& result);
};

}  // namespace tarnvex
