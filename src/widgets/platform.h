#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/message_box.h"

namespace tarnvex {

// What the screens need of the operating system, behind one interface: a Win32
// implementation for the real program and a headless one for tests. Message
// boxes come from MessageBoxes.
class Platform : public MessageBoxes {
 public:
  // Sends message, wParam 0 and lParam 0, to a window of another part of the
  // program (the host's), and returns only after its window procedure has
  // handled it, so whatever it does then is done before the caller goes on.
  // What the messages mean is the business of the layer that sends them.
  virtual void SendWindowMessage(WindowHandle window, uint32_t message) = 0;

  // The folder of the running program (the host's executable), code page 936,
  // ending in a path separator.
  virtual std::string HostExecutableFolder() = 0;

  // The first bytes of the named shared memory object, at most max_bytes and
  // stopping at the first zero byte; nullopt when there is no such object or it
  // cannot be read. name is code page 936.
  virtual std::optional<std::string> ReadSharedMemoryText(std::string_view name,
                                                          size_t max_bytes) = 0;

  // The text on the clipboard, code page 936; nullopt when it holds none or
  // cannot be opened.
  virtual std::optional<std::string> ClipboardText() = 0;
  // Puts text (code page 936) on the clipboard in place of what it held.
  virtual void SetClipboardText(std::string_view text) = 0;
};

}  // namespace tarnvex
