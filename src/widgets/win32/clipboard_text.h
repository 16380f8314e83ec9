#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tarnvex {

// The text on the clipboard, empty when there is none or another program
// holds the clipboard open. owner is the window that asks.
std::wstring ClipboardText(HWND owner);
// Puts text on the clipboard as CF_UNICODETEXT in place of everything it held;
// false when the clipboard cannot be opened or the memory not had. The owner
// must be a window: an empty clipboard without an owner takes no data.
bool PutClipboardText(HWND owner, std::wstring_view text);

}  // namespace tarnvex
