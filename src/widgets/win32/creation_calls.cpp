#include "widgets/win32/creation_calls.h"

#include <cstdlib>
#include <cstring>

namespace tarnvex {

namespace {

struct Armed {
  CreationKind kind = CreationKind::kWindow;
  int calls_left = 0;
};
Armed g_armed;

// Whether this call of kind is the one to fail; counts it.
bool FailsNow(CreationKind kind) {
  if (g_armed.calls_left == 0 || g_armed.kind != kind) return false;
  if (--g_armed.calls_left != 0) return false;
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return true;
}

HWND WINAPI CreateWindowOrFail(DWORD ex_style, LPCWSTR class_name, LPCWSTR text, DWORD style, int x,
                               int y, int width, int height, HWND parent, HMENU menu,
                               HINSTANCE instance, LPVOID parameter) {
  if (FailsNow(CreationKind::kWindow)) return nullptr;
  return CreateWindowExW(ex_style, class_name, text, style, x, y, width, height, parent, menu,
                         instance, parameter);
}

HIMAGELIST WINAPI CreateImageListOrFail(int width, int height, UINT flags, int initial, int grow) {
  if (FailsNow(CreationKind::kImageList)) return nullptr;
  return ImageList_Create(width, height, flags, initial, grow);
}

HHOOK WINAPI SetHookOrFail(int id, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  if (FailsNow(CreationKind::kHook)) return nullptr;
  return SetWindowsHookExW(id, procedure, module, thread);
}

constexpr CreationCalls kSystemCalls{CreateWindowExW, ImageList_Create, SetWindowsHookExW};
constexpr CreationCalls kFaultyCalls{CreateWindowOrFail, CreateImageListOrFail, SetHookOrFail};
const CreationCalls* g_calls = &kSystemCalls;

}  // namespace

const CreationCalls& Creation() { return *g_calls; }

CreationFault::CreationFault(CreationKind kind, int n) {
  g_armed = {kind, n};
  g_calls = &kFaultyCalls;
}

CreationFault::~CreationFault() {
  g_armed = {};
  g_calls = &kSystemCalls;
}

void CreationFault::FromEnvironment(std::optional<CreationFault>& fault) {
  // Read from the process's environment, not the C library's copy, which the
  // tests that set it while running would not reach.
  char value[32] = {};
  const DWORD length = GetEnvironmentVariableA("TARNVEX_FAIL_CREATION", value, sizeof value);
  if (length == 0 || length >= sizeof value) return;
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
    if (n > 0) fault.emplace(named.kind, n);
  }
}

}  // namespace tarnvex
