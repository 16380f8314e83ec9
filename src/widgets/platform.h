#pragma once

#include <cstddef>
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
  // Tells the host that an embedded screen has closed: WM_USER+4, wParam 0,
  // lParam 0, to host_window. Returns only after the host has handled it, so
  // whatever the host does on closing is done before the caller goes on.
  virtual void NotifyHostClosed(WindowHandle host_window) = 0;

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
