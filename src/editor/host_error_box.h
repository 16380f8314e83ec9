#pragma once

#include "host/variant.h"
#include "widgets/message_box.h"

namespace tarnvex {

// Shows HostErrorText in a modal box owned by owner: caption "错误", error icon,
// one OK button.
void ShowHostError(MessageBoxes& boxes, WindowHandle owner, const Variant& error);

}  // namespace tarnvex
