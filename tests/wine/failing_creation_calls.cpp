// Built into SubsidySet_faults.dll only, the shipped library's own objects
// with this file added, which the creation-fault tests load. When the library
// is loaded, these calls take the place of the system's in its table of
// creation calls (widgets/win32/creation_calls.h). Each one looks at the
// environment variable TARNVEX_FAIL_CREATION: "window N", "image-list N" or
// "hook N" fails the N-th call of that kind made since the value was set, as
// the system fails it when out of memory: a null handle and
// ERROR_NOT_ENOUGH_MEMORY. Every other call reaches the system. The count
// starts at the first call that sees the value and ends at the first that
// sees it gone or changed, so a test sets it just before what it opens and
// clears it afterwards. A value that names no fault asks for none.

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "widgets/win32/creation_calls.h"

namespace tarnvex {
namespace {

enum class CreationKind { kWindow, kImageList, kHook };

// The value last seen, and the fault it asks for: the calls of kind still to
// come up to the one that fails (0: none fails).
struct Armed {
  char value[32] = {};
  CreationKind kind = CreationKind::kWindow;
  int calls_left = 0;
};
Armed g_armed;

// The table these calls took the place of.
CreationCalls g_system{};

// Arms the fault that the variable asks for when its value is not the one
// last seen.
void FollowEnvironment() {
  // Read from the process's environment, not the C library's copy, which a
  // test that sets it while running would not reach.
  char value[sizeof g_armed.value] = {};
  const DWORD length = GetEnvironmentVariableA("TARNVEX_FAIL_CREATION", value, sizeof value);
  if (length >= sizeof value) value[0] = '\0';  // too long to name a fault
  if (std::strcmp(value, g_armed.value) == 0) return;
  g_armed = {};
  std::memcpy(g_armed.value, value, sizeof value);
  struct Named {
    const char* name;
    CreationKind kind;
  };
  constexpr Named kKinds[] = {{"window ", CreationKind::kWindow},
                              {"image-list ", CreationKind::kImageList},
                              {"hook ", CreationKind::kHook}};
  for (const Named& named : kKinds) {
    const size_t name_length = std::strlen(named.name);
    if (std::strncmp(value, named.name, name_length) != 0) continue;
    const int n = std::atoi(value + name_length);
    if (n > 0) {
      g_armed.kind = named.kind;
      g_armed.calls_left = n;
    }
  }
}

// Whether this call of kind is the one to fail; counts it.
bool FailsNow(CreationKind kind) {
  FollowEnvironment();
  if (g_armed.calls_left == 0 || g_armed.kind != kind) return false;
  if (--g_armed.calls_left != 0) return false;
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return true;
}

HWND WINAPI CreateWindowOrFail(DWORD ex_style, LPCWSTR class_name, LPCWSTR text, DWORD style, int x,
                               int y, int width, int height, HWND parent, HMENU menu,
                               HINSTANCE instance, LPVOID parameter) {
  if (FailsNow(CreationKind::kWindow)) return nullptr;
  return g_system.create_window(ex_style, class_name, text, style, x, y, width, height, parent,
                                menu, instance, parameter);
}

HIMAGELIST WINAPI CreateImageListOrFail(int width, int height, UINT flags, int initial, int grow) {
  if (FailsNow(CreationKind::kImageList)) return nullptr;
  return g_system.create_image_list(width, height, flags, initial, grow);
}

HHOOK WINAPI SetHookOrFail(int id, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  if (FailsNow(CreationKind::kHook)) return nullptr;
  return g_system.set_hook(id, procedure, module, thread);
}

// Runs while the library is loaded, before its entry point can be called.
struct PutInPlace {
  PutInPlace() {
    g_system = SetCreation({CreateWindowOrFail, CreateImageListOrFail, SetHookOrFail});
  }
} g_put_in_place;

}  // namespace
}  // namespace tarnvex
