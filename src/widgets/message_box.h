#pragma once

#include <cstdint>
#include <string>

namespace tarnvex {

// An opaque window handle: an HWND on Windows, an id in headless runs.
using WindowHandle = std::uintptr_t;

enum class MessageIcon { kNone, kInformation, kQuestion, kWarning, kError };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

struct MessageBoxRequest {
  WindowHandle owner = 0;
  std::string text;     // code page 936
  std::string caption;  // code page 936
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
};

// Shows modal message boxes. The platform layer provides the real one (Win32)
// and a scripted one for headless runs.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(const MessageBoxRequest& request) = 0;
};

}  // namespace tarnvex
