#pragma once

#include <windows.h>

namespace tarnvex {

// A window class registered for one module and unregistered with this
// object. A DLL must register its classes with its own instance and remove
// them before it is unloaded: a class left behind points at a window
// procedure that is no longer mapped.
class WindowClass {
 public:
  // Registers name (which must outlive this object) with the given procedure
  // and a background of the system colour with index background (COLOR_...).
  // Throws std::system_error when the registration fails.
  WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int background);
  ~WindowClass();
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

 private:
  HINSTANCE instance_;
  const wchar_t* name_;
};

}  // namespace tarnvex
