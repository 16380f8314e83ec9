#pragma once

#include <exception>
#include <string_view>
#include <utility>

#include "widgets/message_box.h"

namespace tarnvex {

// The default handling of an error that no handler caught: a modal box owned
// by owner with the error's text (code page 936), the error icon and OK.
void ShowUnhandledError(MessageBoxes& boxes, WindowHandle owner, std::string_view text) noexcept;

// Runs one event that the platform delivered (a window message, the exported
// entry point). An exception that escapes it ends the event and is shown to
// the operator; it never unwinds into a window procedure, a COM call or the
// host, where it would be undefined behaviour.
template <typename Event>
void RunGuarded(MessageBoxes& boxes, WindowHandle owner, Event&& event) noexcept {
  try {
    std::forward<Event>(event)();
  } catch (const std::exception& error) {
    ShowUnhandledError(boxes, owner, error.what());
  } catch (...) {
    ShowUnhandledError(boxes, owner, "未知错误！");
  }
}

}  // namespace tarnvex
