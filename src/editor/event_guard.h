#pragma once

#include <functional>
#include <string_view>

#include "widgets/message_box.h"

namespace tarnvex {

// Runs the handler of one event the platform delivers. An error that escapes it
// ends the operation and is shown to the operator in a box owned by owner,
// captioned "错误", naming the operation and what failed; it never reaches the
// platform and is never dropped. Returns whether the handler ran to its end, so
// that an event that can refuse (a move to another row) refuses after an error.
bool GuardEvent(MessageBoxes& boxes, WindowHandle owner, std::string_view operation,
                const std::function<void()>& handler);

}  // namespace tarnvex
