#pragma once

#include <string>

#include "widgets/control.h"

namespace tarnvex {

// The character set of the simplified Chinese fonts (GB2312_CHARSET), which
// every Chinese text of the screens is drawn in.
inline constexpr int kGb2312Charset = 134;

// A font as the screens name it; the platform finds the nearest face.
struct Font {
  std::string name;
  int height = -12;  // negative: character height in pixels
  int charset = 0;
  Colour colour = 0x000000;
};

}  // namespace tarnvex
