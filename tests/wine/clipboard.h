#pragma once

#include <windows.h>

#include <string>

namespace tarnvex::testing {

// The system clipboard as another program (a spreadsheet) uses it: plain
// CF_UNICODETEXT, set and read with the system's own calls.

// Its text now; "<clipboard not opened>" when another window holds it open.
std::wstring ClipboardText();

// Puts text on it for owner, one of this thread's windows: a clipboard opened
// for no window is left without an owner by EmptyClipboard, and then
// SetClipboardData fails on Windows (the remarks of OpenClipboard,
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-openclipboard).
bool PutOnClipboard(HWND owner, const std::wstring& text);

}  // namespace tarnvex::testing
