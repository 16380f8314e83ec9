#pragma once

#include <windows.h>

#include <string>

namespace tarnvex {

// The text on the clipboard, empty when there is none or another program
// holds the clipboard open. owner is the window that asks.
std::wstring ClipboardText(HWND owner);

}  // namespace tarnvex
