#pragma once

#include <windows.h>

namespace tarnvex::testing {

// Thread timers for the editor's add dialog: set before the click on 增加,
// they run inside the dialog's modal loop once it is up and answer it with
// keys alone, as an operator does.

// Code 13, Enter, name 节日加班补助, Tab to 确定, Enter: the item is added
// under the first category.
void CALLBACK FillInTheAddDialog(HWND, UINT, UINT_PTR id, DWORD);

// Code 14 typed, then Esc: nothing is added.
void CALLBACK CancelTheAddDialog(HWND, UINT, UINT_PTR id, DWORD);

}  // namespace tarnvex::testing
