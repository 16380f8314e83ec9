#include "widgets/win32/edit_text.h"

namespace tarnvex {

void ShowEditText(HWND edit, const std::wstring& text) {
  const int length = GetWindowTextLengthW(edit);
  std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(edit, shown.data(), length + 1);
  shown.resize(static_cast<size_t>(length));
  if (shown == text) return;
  SetWindowTextW(edit, text.c_str());
  SendMessageW(edit, EM_SETSEL, text.size(), text.size());
}

bool IsOwnTextChange(UINT message) {
  return message == WM_CUT || message == WM_CLEAR || message == WM_UNDO;
}

}  // namespace tarnvex
