#include "wine/message_pump.h"

#include <windows.h>

#include <algorithm>

namespace tarnvex::testing {

namespace {

constexpr ULONGLONG kSliceMilliseconds = 20;

void HandleQueued() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, unsigned limit_milliseconds) {
  // <chrono> cannot be used here: its "µs" has no GBK form, and our sources
  // are compiled with a GBK execution character set.
  ULONGLONG deadline = GetTickCount64() + limit_milliseconds;
  for (;;) {
    HandleQueued();
    if (done()) return true;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    // Woken by our own messages; what another process does sends us none, so
    // look again at least every kSliceMilliseconds.
    ULONGLONG wait = std::min<ULONGLONG>(deadline - now, kSliceMilliseconds);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait), QS_ALLINPUT);
  }
}

void PumpPending() {
  PumpUntil([] { return false; }, 0);
}

}  // namespace tarnvex::testing
