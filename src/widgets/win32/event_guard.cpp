#include "widgets/win32/event_guard.h"

#include <string>

namespace tarnvex {

void ShowUnhandledError(MessageBoxes& boxes, WindowHandle owner, std::string_view text) noexcept {
  try {
    MessageBoxRequest request;
    request.owner = owner;
    request.text = std::string(text);
    request.caption = "错误";
    request.icon = MessageIcon::kError;
    request.buttons = MessageButtons::kOk;
    boxes.Show(request);
  } catch (...) {
    // Out of memory while reporting: nothing is left that could tell the
    // operator, and the event has already ended.
  }
}

}  // namespace tarnvex
