#include "editor/host_error_box.h"

#include "host/host_error.h"

namespace tarnvex {

void ShowHostError(MessageBoxes& boxes, WindowHandle owner, const Variant& error) {
  boxes.Show({.owner = owner,
              .text = HostErrorText(error),
              .caption = "错误",
              .icon = MessageIcon::kError,
              .buttons = MessageButtons::kOk});
}

}  // namespace tarnvex
