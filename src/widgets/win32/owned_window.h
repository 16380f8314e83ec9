#pragma once

#include <windows.h>

#include "widgets/win32/owned_handle.h"

namespace tarnvex {

// A window its parent took along is already gone; destroying it again would
// hit whatever window got the same handle since, so that is checked first.
inline void DestroyLiveWindow(HWND window) {
  if (IsWindow(window)) DestroyWindow(window);
}

// Owns a window that no object of ours is bound to (a tool tip, a popup of
// plain system controls) and destroys it with itself.
using OwnedWindow = OwnedHandle<HWND, DestroyLiveWindow>;

}  // namespace tarnvex
