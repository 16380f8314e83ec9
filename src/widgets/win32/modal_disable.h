#pragma once

#include <windows.h>

namespace tarnvex {

// Disables a window that is enabled, for as long as this lives, and enables
// it again however the modal part ends: a host window left disabled takes no
// input ever again.
class ModalDisable {
 public:
  explicit ModalDisable(HWND window)
      : window_(window != nullptr && IsWindowEnabled(window) ? window : nullptr) {
    if (window_ != nullptr) EnableWindow(window_, FALSE);
  }
  ~ModalDisable() { End(); }
  ModalDisable(const ModalDisable&) = delete;
  ModalDisable& operator=(const ModalDisable&) = delete;

  // Enables the window now, before what must follow it.
  void End() {
    if (window_ != nullptr) EnableWindow(window_, TRUE);
    window_ = nullptr;
  }

 private:
  HWND window_;
};

}  // namespace tarnvex
