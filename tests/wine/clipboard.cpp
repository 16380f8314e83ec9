#include "wine/clipboard.h"

#include <algorithm>

namespace tarnvex::testing {

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<clipboard not opened>";
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* data = static_cast<const wchar_t*>(GlobalLock(block))) {
      text = data;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (auto* data = static_cast<wchar_t*>(GlobalLock(block))) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, data);
    GlobalUnlock(block);
    put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  }
  if (!put) GlobalFree(block);
  CloseClipboard();
  return put;
}

}  // namespace tarnvex::testing
