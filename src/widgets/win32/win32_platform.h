#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/platform.h"

namespace tarnvex {

// The platform of the real program: user32 message boxes, SendMessage to the
// host, the module path and named file mappings of the running process.
class Win32Platform : public Platform {
 public:
  MessageAnswer Show(const MessageBoxRequest& request) override;
  void SendWindowMessage(WindowHandle window, uint32_t message) override;
  std::string HostExecutableFolder() override;
  std::optional<std::string> ReadSharedMemoryText(std::string_view name, size_t max_bytes) override;
  // CF_UNICODETEXT, converted from and to code page 936.
  std::optional<std::string> ClipboardText() override;
  void SetClipboardText(std::string_view text) override;
};

}  // namespace tarnvex
