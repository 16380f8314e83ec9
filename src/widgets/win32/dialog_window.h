#pragma once

#include <windows.h>

#include "widgets/message_box.h"
#include "widgets/form.h"

namespace tarnvex {

// Shows a dialog form modally in a window with a caption whose client area
// has the form's size: a STATIC, native EDIT, drop-down COMBOBOX or BUTTON
// for each of its labels, edits, combo boxes and buttons, placed as the form
// places them. Keys and clicks become the controls' input methods; the edits
// show the text their models keep. Tab and Shift+Tab move through the
// controls in the form's order, Esc and the close box close the form (the
// caller reads the form's own result), Enter on a button clicks it and Alt
// with a button's access key clicks that button. Returns once the form has
// closed.
void ShowDialogModally(HINSTANCE instance, HWND owner, MessageBoxes& boxes, Form& dialog);

// The class of the dialog's window; its procedure is WindowBase::Procedure.
inline constexpr wchar_t kDialogClassName[] = L"TarnvexDialog";

}  // namespace tarnvex
