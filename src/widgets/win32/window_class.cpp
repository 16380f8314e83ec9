#include "widgets/win32/window_class.h"

#include "widgets/win32/last_error.h"

namespace tarnvex {

WindowClass::WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int background)
    : instance_(instance), name_(name) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // A class brush may be given as the colour index plus one.
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  window_class.lpszClassName = name;
  if (RegisterClassExW(&window_class) == 0) ThrowLastError("RegisterClassExW");
}

WindowClass::~WindowClass() { UnregisterClassW(name_, instance_); }

}  // namespace tarnvex
