#pragma once

#include <cstdint>
#include <functional>

namespace tarnvex {

// A timer that raises OnTimer every Interval milliseconds while it is enabled.
// The platform keeps the time: its peer, or a test, calls Elapse when an
// interval has passed.
class Timer {
 public:
  uint32_t interval() const { return interval_; }
  bool enabled() const { return enabled_; }
  void SetInterval(uint32_t interval) { interval_ = interval; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // Raises OnTimer when the timer is enabled; a disabled timer does nothing.
  void Elapse();

  std::function<void()> OnTimer;

 private:
  uint32_t interval_ = 1000;
  bool enabled_ = false;
};

}  // namespace tarnvex
