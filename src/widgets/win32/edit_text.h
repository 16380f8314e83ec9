#pragma once

#include <windows.h>

#include <string>

namespace tarnvex {

// Shows text in an EDIT that its model keeps. The text is set only when it
// differs from what is shown, since setting it moves the caret; then the
// caret goes to the end, where the next typed character goes.
void ShowEditText(HWND edit, const std::wstring& text);

// Whether a message is one of an EDIT's own changes of its text (cut, clear,
// undo), which would change what the model keeps behind its back.
bool IsOwnTextChange(UINT message);

}  // namespace tarnvex
