#include "wine/tool_bar_buttons.h"

#include <commctrl.h>

#include <algorithm>

#include "wine/operator_input.h"

namespace tarnvex::testing {

namespace {

HWND ToolBarOf(HWND editor) { return FindDescendant(editor, L"TarnvexToolBar"); }

std::wstring WithoutBlanks(std::wstring text) {
  std::erase_if(text, [](wchar_t c) { return c == L' ' || c == L'\x3000'; });
  return text;
}

}  // namespace

RECT ToolButtonRect(HWND editor, const std::wstring& caption) {
  HWND bar = ToolBarOf(editor);
  if (bar == nullptr) return {};
  const auto count = static_cast<WPARAM>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
  for (WPARAM index = 0; index < count; ++index) {
    const LRESULT length = SendMessageW(bar, TB_GETBUTTONTEXTW, index, 0);
    if (length <= 0) continue;
    std::wstring text(static_cast<size_t>(length), L'\0');
    SendMessageW(bar, TB_GETBUTTONTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
    if (WithoutBlanks(text) != WithoutBlanks(caption)) continue;
    RECT rect{};
    if (SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect))) return rect;
  }
  return {};
}

void ClickToolButton(HWND editor, const std::wstring& caption) {
  const RECT rect = ToolButtonRect(editor, caption);
  ClickAt(ToolBarOf(editor), {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

}  // namespace tarnvex::testing
