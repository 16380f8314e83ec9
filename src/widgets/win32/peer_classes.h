#pragma once

#include <windows.h>

#include "widgets/win32/window_class.h"

namespace tarnvex {

// The window classes of the control peers and of the platform's popups, busy
// windows and dialogs, registered with the module's own
// instance for as long as this object lives, and the common controls (tree
// view, tool tips) made ready.
class PeerClasses {
 public:
  // Throws std::system_error when a class cannot be registered.
  explicit PeerClasses(HINSTANCE instance);

  HINSTANCE instance() const { return instance_; }

 private:
  HINSTANCE instance_;
  WindowClass grid_;
  WindowClass tool_bar_;
  WindowClass splitter_;
  WindowClass popup_;
  WindowClass busy_;
  WindowClass dialog_;
};

}  // namespace tarnvex
