#include "widgets/splitter.h"

#include <algorithm>
#include <utility>

namespace tarnvex {

Splitter::Splitter(std::string name) : Control(std::move(name)) {}

void Splitter::DragBy(int delta) {
  if (target_ == nullptr) return;
  // A bar on the far edge grows its target when dragged towards the middle.
  switch (align()) {
    case Align::kLeft:
      target_->SetWidth(std::max(kMinSize, target_->bounds().width + delta));
      break;
    case Align::kRight:
      target_->SetWidth(std::max(kMinSize, target_->bounds().width - delta));
      break;
    case Align::kTop:
      target_->SetHeight(std::max(kMinSize, target_->bounds().height + delta));
      break;
    case Align::kBottom:
      target_->SetHeight(std::max(kMinSize, target_->bounds().height - delta));
      break;
    case Align::kNone:
    case Align::kClient:
      break;
  }
}

}  // namespace tarnvex
