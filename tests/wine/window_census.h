#pragma once

#include <windows.h>

namespace tarnvex::testing {

// The process's windows: top-level ones with their descendants, and the
// message-only ones, which EnumWindows leaves out. Wine's count of USER
// objects is a stub; this is what stands in for it.
long WindowCensus();

// A window and every window under it.
long WindowAndDescendants(HWND window);

}  // namespace tarnvex::testing
