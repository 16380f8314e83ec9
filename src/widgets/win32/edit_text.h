#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "widgets/keys.h"

namespace tarnvex {

// Shows text in an EDIT that its model keeps. The text is set only when it
// differs from what is shown, since setting it moves the caret; then the
// caret goes to the end, where the next typed character goes.
void ShowEditText(HWND edit, const std::wstring& text);

// Shows the model's caret and selection in an EDIT that shows text (code page
// 936): anchor and caret are byte offsets into it. The EDIT draws the caret
// and the highlight itself while it has the focus.
void ShowEditSelection(HWND edit, std::string_view text, size_t anchor, size_t caret);

// The selection the EDIT itself made from a click or a drag, in bytes of the
// model's text: anchor is where the button went down (UTF-16 units), the
// caret the EDIT's other end.
struct TextSelection {
  size_t anchor;
  size_t caret;
};
// After the EDIT's own handling of a mouse message: the selection a click, a
// double click or a drag with the left button made, when the message is one
// of them. drag_anchor keeps where the button went down (UTF-16 units).
std::optional<TextSelection> SelectionByMouse(HWND edit, UINT message, WPARAM w_param,
                                              std::string_view text, size_t& drag_anchor);

// An EDIT's own commands on its text (paste, copy, cut, clear, undo, as its
// context menu sends them) as the keys that do the same in the model, so the
// model keeps the text; nullopt for any other message.
struct EditCommandKey {
  KeyCode key;
  KeyModifiers modifiers;
};
std::optional<EditCommandKey> KeyOfEditCommand(UINT message);

// The Shift and Ctrl keys held down now.
KeyModifiers HeldModifiers();

}  // namespace tarnvex
