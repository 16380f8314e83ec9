#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "widgets/message_box.h"

namespace tarnvex {

// The text of an error that ended an operation: "<operation>失败：<what>".
std::string EventFailureText(std::string_view operation, std::string_view what);

// Shows EventFailureText in an error box owned by owner (ErrorBox). Out of
// memory while reporting, or a box that cannot be shown, leaves nothing that
// could tell the operator; the event has ended all the same.
void ShowEventFailure(MessageBoxes& boxes, WindowHandle owner, std::string_view operation,
                      std::string_view what) noexcept;

// Runs one event that the platform delivered (a control's event, a window
// message, the exported entry point). An error that escapes it ends the
// operation and is shown to the operator, naming the operation and what
// failed; it never unwinds into a window procedure, a COM call or the host,
// and is never dropped. Returns whether the event ran to its end, so that an
// event that can refuse (a move to another row) refuses after an error.
template <typename Event>
bool GuardEvent(MessageBoxes& boxes, WindowHandle owner, std::string_view operation,
                Event&& event) noexcept {
  try {
    std::forward<Event>(event)();
    return true;
  } catch (const std::exception& error) {
    ShowEventFailure(boxes, owner, operation, error.what());
  } catch (...) {
    ShowEventFailure(boxes, owner, operation, "未知错误！");
  }
  return false;
}

}  // namespace tarnvex
