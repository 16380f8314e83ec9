#pragma once

#include <string>

#include "widgets/control.h"

namespace tarnvex {

// A bar the operator drags to resize the control before it on the same edge
// (its target): a left- or right-aligned splitter changes the target's width, a
// top- or bottom-aligned one its height.
class Splitter : public Control {
 public:
  static constexpr int kMinSize = 30;

  explicit Splitter(std::string name);

  void set_target(Control* target) { target_ = target; }
  Control* target() const { return target_; }

  // Dragging the bar by delta pixels, towards the right or the bottom when
  // positive. The target never gets smaller than kMinSize.
  void DragBy(int delta);

 private:
  Control* target_ = nullptr;
};

}  // namespace tarnvex
