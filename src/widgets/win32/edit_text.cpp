#include "widgets/win32/edit_text.h"

#include <algorithm>

#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

// UTF-16 units of the text's first bytes, and back.
size_t WideOffset(std::string_view text, size_t bytes) {
  return ToWide(text.substr(0, std::min(bytes, text.size()))).size();
}

size_t ByteOffset(std::string_view text, size_t wide) {
  const std::wstring whole = ToWide(text);
  return FromWide(std::wstring_view(whole).substr(0, std::min(wide, whole.size()))).size();
}

}  // namespace

void ShowEditText(HWND edit, const std::wstring& text) {
  const int length = GetWindowTextLengthW(edit);
  std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(edit, shown.data(), length + 1);
  shown.resize(static_cast<size_t>(length));
  if (shown == text) return;
  // Typed at the end, the usual case: only what is new goes in, which costs
  // the EDIT far less than taking the whole text again.
  if (text.size() > shown.size() && text.starts_with(shown)) {
    SendMessageW(edit, EM_SETSEL, shown.size(), shown.size());
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str() + shown.size()));
    return;
  }
  SetWindowTextW(edit, text.c_str());
  SendMessageW(edit, EM_SETSEL, text.size(), text.size());
}

void ShowEditSelection(HWND edit, std::string_view text, size_t anchor, size_t caret) {
  const size_t from = WideOffset(text, anchor);
  const size_t to = WideOffset(text, caret);
  // Every EM_SETSEL moves the EDIT's caret, which under Wine is a round trip
  // to the server: a selection already shown is left alone. EM_GETSEL gives
  // the ends in order and not which one is the caret, so only a selection
  // whose caret is its end can be seen to be shown.
  if (from <= to) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == from && end == to) return;
  }
  // The caret goes where the second position says, also before the anchor.
  SendMessageW(edit, EM_SETSEL, from, to);
}

std::optional<TextSelection> SelectionByMouse(HWND edit, UINT message, WPARAM w_param,
                                              std::string_view text, size_t& drag_anchor) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      drag_anchor = start;
      break;
    case WM_MOUSEMOVE:
      if ((w_param & MK_LBUTTON) == 0 || GetCapture() != edit) return std::nullopt;
      break;
    default:
      return std::nullopt;
  }
  const size_t caret = start == drag_anchor ? end : start;
  return TextSelection{ByteOffset(text, drag_anchor), ByteOffset(text, caret)};
}

std::optional<EditCommandKey> KeyOfEditCommand(UINT message) {
  switch (message) {
    case WM_PASTE:
      return EditCommandKey{'V', kCtrlHeld};
    case WM_COPY:
      return EditCommandKey{'C', kCtrlHeld};
    case WM_CUT:
      return EditCommandKey{'X', kCtrlHeld};
    case WM_UNDO:
    case EM_UNDO:
      return EditCommandKey{'Z', kCtrlHeld};
    case WM_CLEAR:
      return EditCommandKey{kKeyDelete, {}};
    default:
      return std::nullopt;
  }
}

KeyModifiers HeldModifiers() {
  // One call for both keys: under Wine each GetKeyState is a round trip to
  // the server, and so is GetKeyboardState, once.
  BYTE keys[256]{};
  if (!GetKeyboardState(keys)) return {};
  return {.shift = (keys[VK_SHIFT] & 0x80) != 0, .ctrl = (keys[VK_CONTROL] & 0x80) != 0};
}

}  // namespace tarnvex
