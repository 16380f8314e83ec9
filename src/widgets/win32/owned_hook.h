#pragma once

#include <windows.h>

#include "widgets/win32/owned_handle.h"

namespace tarnvex {

inline void RemoveHook(HHOOK hook) { UnhookWindowsHookEx(hook); }

// Owns a windows hook and removes it with itself: a hook left behind calls
// into a library that may be unloaded.
using OwnedHook = OwnedHandle<HHOOK, RemoveHook>;

}  // namespace tarnvex
