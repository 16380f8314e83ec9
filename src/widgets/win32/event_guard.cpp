#include "widgets/win32/event_guard.h"

#include <string>

namespace tarnvex {

void ShowUnhandledError(MessageBoxes& boxes, WindowHandle owner, std::string_view text) noexcept {
  try {
    boxes.Show(ErrorBox(owner, std::string(text)));
  } catch (...) {
    // Out of memory while reporting: nothing is left that could tell the
    // operator, and the event has already ended.
  }
}

}  // namespace tarnvex
