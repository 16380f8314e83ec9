#include "embedding/base_panel.h"

#include <algorithm>

namespace tarnvex {

void BasePanel::SetWidth(int32_t width) {
  width = std::max(width, 0);
  if (width == width_) return;
  width_ = width;
  Resized();
}

void BasePanel::SetHeight(int32_t height) {
  height = std::max(height, 0);
  if (height == height_) return;
  height_ = height;
  Resized();
}

void BasePanel::Resized() {
  if (OnResize) OnResize();
  if (OnPeerResize) OnPeerResize();
}

}  // namespace tarnvex
