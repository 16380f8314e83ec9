#include "widgets/splitter.h"

#include <algorithm>
#include <utility>

namespace tarnvex {

Splitter::Splitter(std::string name) : Control(std::move(name)) {}

void Splitter::DragBy(int delta) {
  if (target_ == nullptr) return;
  const Align side = align();
  const bool sideways = side == Align::kLeft || side == Align::kRight;
  if (!sideways && side != Align::kTop && side != Align::kBottom) return;
  // A bar on the far edge grows its target when dragged towards the middle.
  const int growth = side == Align::kLeft || side == Align::kTop ? delta : -delta;
  if (sideways) {
    target_->SetWidth(std::max(kMinSize, target_->bounds().width + growth));
  } else {
    target_->SetHeight(std::max(kMinSize, target_->bounds().height + growth));
  }
}

}  // namespace tarnvex
