#include "editor/host_error_box.h"

#include "host/host_error.h"

namespace tarnvex {

void ShowHostError(MessageBoxes& boxes, WindowHandle owner, const Variant& error) {
  ShowError(boxes, owner, HostErrorText(error));
}

}  // namespace tarnvex
