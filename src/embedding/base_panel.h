#pragma once

#include <cstdint>
#include <functional>

namespace tarnvex {

// The size of PanelMain, the panel that every control of an embedded screen
// lies on. Only the panel follows the host's window; the form never changes
// size once it is made. The window peer draws the panel at this size.
class BasePanel {
 public:
  BasePanel(int32_t width, int32_t height) : width_(width), height_(height) {}

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // A negative size means nothing on screen; it is taken as 0.
  void SetWidth(int32_t width);
  void SetHeight(int32_t height);

  // Raised after each change of width or height, once per change: first
  // OnResize, for the screen's own controls, then OnPeerResize, for the window
  // peer that draws the panel.
  std::function<void()> OnResize;
  std::function<void()> OnPeerResize;

 private:
  void Resized();

  int32_t width_;
  int32_t height_;
};

}  // namespace tarnvex
