#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tarnvex {

// The text on the clipboard; nullopt when there is none or another program
// holds the clipboard open. owner is the window that asks.
std::optional<std::wstring> ReadClipboardText(HWND owner);

// Puts text on the clipboard as CF_UNICODETEXT; false when the clipboard
// cannot be opened or the memory not had. owner becomes the clipboard's owner:
// it must be a window, since SetClipboardData fails after EmptyClipboard has
// made nobody the owner.
bool WriteClipboardText(HWND owner, std::wstring_view text);

}  // namespace tarnvex
