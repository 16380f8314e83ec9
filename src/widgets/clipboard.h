#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnvex {

// The system's clipboard as the text controls use it: plain text in code page
// 936 bytes. The implementation converts at its own edge.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The text on the clipboard; nullopt when it holds none or cannot be read.
  virtual std::optional<std::string> ClipboardText() = 0;
  // Puts text on the clipboard in place of what it held.
  virtual void SetClipboardText(std::string_view text) = 0;
};

}  // namespace tarnvex
