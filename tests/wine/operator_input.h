#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tarnvex::testing {

// Input as the operator produces it, through SendInput, so that it takes the
// way real input takes: the focus, the key state, hooks, the message loop.
// Each call handles the messages it causes before returning.

// A left click at a point of a window's client area.
void ClickAt(HWND window, POINT client_point);
// The mouse moved to a point of a window's client area, no button pressed:
// where it then rests, tool tips show.
void MoveMouseTo(HWND window, POINT client_point);
// The left button pressed at one point of a window's client area, the mouse
// moved to another with the button held, and released there.
void DragAt(HWND window, POINT from, POINT to);
// The same drag queued in one go: a press on a scroll bar's thumb runs the
// bar's own message loop until the release, so the moves and the release must
// already be waiting when the press is handled.
void DragInOneGo(HWND window, POINT from, POINT to);
// A key pressed and released; with ctrl or shift, while Ctrl or Shift is
// held down.
void PressKey(WORD virtual_key, bool ctrl = false, bool shift = false);
// A key pressed and released while Alt is held down (an access key).
void PressAltKey(WORD virtual_key);
// Keys pressed and released one after the other, queued in one go: the later
// ones reach whatever window has the focus once the earlier ones are handled
// (a modal window an earlier key opened, for one).
void PressKeysInOneGo(const std::vector<WORD>& virtual_keys);
// Characters typed as an input method delivers them (KEYEVENTF_UNICODE), so
// that Chinese text arrives as it does from a real keyboard.
void TypeText(const std::wstring& text);
// The same characters put in the input queue and left there: their key
// messages wait until the caller handles its messages.
void QueueText(const std::wstring& text);

// The first child window of parent, at any depth, of the class given.
HWND FindDescendant(HWND parent, const wchar_t* class_name, int skip = 0);

}  // namespace tarnvex::testing
