#include "wine/window_census.h"

#include <windows.h>

namespace tarnvex::testing {

namespace {

BOOL CALLBACK CountOne(HWND, LPARAM counter) {
  ++*reinterpret_cast<long*>(counter);
  return TRUE;
}

bool OursWindow(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

BOOL CALLBACK CountOursTopLevel(HWND window, LPARAM counter) {
  if (OursWindow(window)) *reinterpret_cast<long*>(counter) += WindowAndDescendants(window);
  return TRUE;
}

}  // namespace

long WindowAndDescendants(HWND window) {
  long count = 1;
  EnumChildWindows(window, CountOne, reinterpret_cast<LPARAM>(&count));
  return count;
}

long WindowCensus() {
  long count = 0;
  EnumWindows(CountOursTopLevel, reinterpret_cast<LPARAM>(&count));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    if (OursWindow(window)) count += WindowAndDescendants(window);
  }
  return count;
}

}  // namespace tarnvex::testing
