#pragma once

#include <windows.h>

namespace tarnvex::testing {

// Counts the beeps a module gives (its calls of MessageBeep), by pointing
// the module's import of MessageBeep at a counter while this object lives:
// a beep cannot be heard on a virtual display. One at a time.
class BeepCounter {
 public:
  // A module that does not import MessageBeep counts nothing (ready() false).
  explicit BeepCounter(HMODULE module);
  ~BeepCounter();
  BeepCounter(const BeepCounter&) = delete;
  BeepCounter& operator=(const BeepCounter&) = delete;

  bool ready() const { return slot_ != nullptr; }
  int beeps() const;

 private:
  static BOOL WINAPI Counted(UINT type);

  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace tarnvex::testing
