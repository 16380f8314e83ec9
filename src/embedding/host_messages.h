#pragma once

#include <cstdint>

namespace tarnvex {

// The window messages between the host and an embedded screen (WM_USER is
// 0x0400 on every version of Windows).
// Host to the screen's window: wParam the new height of PanelMain, lParam the
// new width, both signed 32-bit pixels.
inline constexpr uint32_t kHostResizeMessage = 0x0400 + 2;
// Screen to the window of HostNotifyControl, wParam 0, lParam 0, sent when the
// screen closes; the sender waits until the host has handled it.
inline constexpr uint32_t kHostClosedMessage = 0x0400 + 4;

}  // namespace tarnvex
