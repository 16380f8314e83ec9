#pragma once

namespace tarnvex {

// A width and a height in pixels: of a screen, a window or a measured text.
struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

}  // namespace tarnvex
