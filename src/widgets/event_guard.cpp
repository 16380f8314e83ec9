#include "widgets/event_guard.h"

namespace tarnvex {

std::string EventFailureText(std::string_view operation, std::string_view what) {
  std::string text(operation);
  text += "失败：";
  text += what;
  return text;
}

void ShowEventFailure(MessageBoxes& boxes, WindowHandle owner, std::string_view operation,
                      std::string_view what) noexcept {
  try {
    ShowError(boxes, owner, EventFailureText(operation, what));
  } catch (...) {
    // Nothing is left that could tell the operator.
  }
}

}  // namespace tarnvex
