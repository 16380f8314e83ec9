#pragma once

#include <cstdint>

namespace tarnvex {

// Key codes of PressKey. They are the Windows virtual-key codes, so a native
// peer hands a WM_KEYDOWN's wParam on unchanged.
using KeyCode = uint16_t;

inline constexpr KeyCode kKeyBackspace = 0x08;
inline constexpr KeyCode kKeyTab = 0x09;
inline constexpr KeyCode kKeyReturn = 0x0D;
inline constexpr KeyCode kKeyEscape = 0x1B;
inline constexpr KeyCode kKeySpace = 0x20;
inline constexpr KeyCode kKeyEnd = 0x23;
inline constexpr KeyCode kKeyHome = 0x24;
inline constexpr KeyCode kKeyLeft = 0x25;
inline constexpr KeyCode kKeyUp = 0x26;
inline constexpr KeyCode kKeyRight = 0x27;
inline constexpr KeyCode kKeyDown = 0x28;
inline constexpr KeyCode kKeyInsert = 0x2D;
inline constexpr KeyCode kKeyDelete = 0x2E;
inline constexpr KeyCode kKeyF1 = 0x70;
inline constexpr KeyCode kKeyF2 = 0x71;
inline constexpr KeyCode kKeyF4 = 0x73;

// The modifier keys held while a key goes down.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool operator==(const KeyModifiers&) const = default;
};
inline constexpr KeyModifiers kShiftHeld{.shift = true, .ctrl = false};
inline constexpr KeyModifiers kCtrlHeld{.shift = false, .ctrl = true};

// Characters of TypeChar that are not printable.
inline constexpr char kCharBackspace = 8;
inline constexpr char kCharReturn = 13;
inline constexpr char kCharEscape = 27;

}  // namespace tarnvex
