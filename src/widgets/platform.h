#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/clipboard.h"
#include "widgets/message_box.h"

namespace tarnvex {

// What the screens need of the operating system, behind one interface: a Win32
// implementation for the real program and a headless one for tests. Message
// boxes come from MessageBoxes, the clipboard's text from Clipboard.
class Platform : public MessageBoxes, public Clipboard {
 public:
  // The system's default beep, as an edit gives for a key it does not take.
  virtual void Beep() = 0;

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
};

}  // namespace tarnvex
