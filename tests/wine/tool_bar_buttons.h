#pragma once

#include <windows.h>

#include <string>

namespace tarnvex::testing {

// The editor's tool bar, read from the bar itself (TB_BUTTONCOUNT,
// TB_GETITEMRECT, TB_GETBUTTONTEXTW) rather than from widths written into the
// tests: the rectangle, in the bar's client coordinates, of the button whose
// caption is caption once the blanks between its characters are taken out
// ("保存" for "保  存"). An empty rectangle when the editor has no such button.
RECT ToolButtonRect(HWND editor, const std::wstring& caption);

// A left click in the middle of that button.
void ClickToolButton(HWND editor, const std::wstring& caption);

}  // namespace tarnvex::testing
