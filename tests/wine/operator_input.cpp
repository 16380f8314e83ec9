#include "wine/operator_input.h"

#include <vector>

#include "wine/message_pump.h"

namespace tarnvex::testing {

namespace {

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  PumpPending();
}

INPUT Key(WORD virtual_key, wchar_t character, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.wScan = character;
  input.ki.dwFlags = flags;
  return input;
}

struct Search {
  const wchar_t* class_name;
  int skip;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, search->class_name) == 0 && search->skip-- == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The mouse at a point of a window's client area, with the buttons given.
INPUT Mouse(HWND window, POINT client_point, DWORD buttons) {
  POINT screen = client_point;
  ClientToScreen(window, &screen);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute coordinates are on a 0..65535 scale over the primary screen,
  // which maps back to pixels rounding down: round up here to land exactly.
  input.mi.dx = (screen.x * 65536 + width - 1) / width;
  input.mi.dy = (screen.y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  return input;
}

}  // namespace

void ClickAt(HWND window, POINT client_point) {
  Send({Mouse(window, client_point, 0), Mouse(window, client_point, MOUSEEVENTF_LEFTDOWN),
        Mouse(window, client_point, MOUSEEVENTF_LEFTUP)});
}

void MoveMouseTo(HWND window, POINT client_point) { Send({Mouse(window, client_point, 0)}); }

void DragAt(HWND window, POINT from, POINT to) {
  Send({Mouse(window, from, 0), Mouse(window, from, MOUSEEVENTF_LEFTDOWN)});
  Send({Mouse(window, to, 0)});
  Send({Mouse(window, to, MOUSEEVENTF_LEFTUP)});
}

void DragInOneGo(HWND window, POINT from, POINT to) {
  const POINT halfway{(from.x + to.x) / 2, (from.y + to.y) / 2};
  Send({Mouse(window, from, 0), Mouse(window, from, MOUSEEVENTF_LEFTDOWN),
        Mouse(window, halfway, 0), Mouse(window, to, 0), Mouse(window, to, MOUSEEVENTF_LEFTUP)});
}

void PressKey(WORD virtual_key, bool ctrl, bool shift) {
  std::vector<INPUT> inputs;
  if (ctrl) inputs.push_back(Key(VK_CONTROL, 0, 0));
  if (shift) inputs.push_back(Key(VK_SHIFT, 0, 0));
  inputs.push_back(Key(virtual_key, 0, 0));
  inputs.push_back(Key(virtual_key, 0, KEYEVENTF_KEYUP));
  if (shift) inputs.push_back(Key(VK_SHIFT, 0, KEYEVENTF_KEYUP));
  if (ctrl) inputs.push_back(Key(VK_CONTROL, 0, KEYEVENTF_KEYUP));
  Send(std::move(inputs));
}

void PressAltKey(WORD virtual_key) {
  Send({Key(VK_MENU, 0, 0), Key(virtual_key, 0, 0), Key(virtual_key, 0, KEYEVENTF_KEYUP),
        Key(VK_MENU, 0, KEYEVENTF_KEYUP)});
}

void PressKeysInOneGo(const std::vector<WORD>& virtual_keys) {
  std::vector<INPUT> inputs;
  for (WORD key : virtual_keys) {
    inputs.push_back(Key(key, 0, 0));
    inputs.push_back(Key(key, 0, KEYEVENTF_KEYUP));
  }
  Send(std::move(inputs));
}

void TypeText(const std::wstring& text) {
  for (wchar_t character : text) {
    QueueText(std::wstring(1, character));
    PumpPending();
  }
}

void QueueText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t character : text) {
    inputs.push_back(Key(0, character, KEYEVENTF_UNICODE));
    inputs.push_back(Key(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND FindDescendant(HWND parent, const wchar_t* class_name, int skip) {
  Search search{class_name, skip, nullptr};
  EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace tarnvex::testing
