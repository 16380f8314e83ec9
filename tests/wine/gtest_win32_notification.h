#pragma once

// GoogleTest 1.12 builds its Notification on std::mutex and
// std::condition_variable, which the win32 thread model of mingw-w64 (the one
// that needs no libwinpthread) does not have. This is the same class on a
// Win32 event; GoogleTest takes it instead of its own when
// GTEST_HAS_NOTIFICATION_ is set. Force-included before GoogleTest's headers.

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
