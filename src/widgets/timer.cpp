#include "widgets/timer.h"

namespace tarnvex {

void Timer::Elapse() {
  if (enabled_ && OnTimer) OnTimer();
}

}  // namespace tarnvex
