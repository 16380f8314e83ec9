#include "widgets/panel.h"

#include <algorithm>
#include <utility>

namespace tarnvex {

Panel::Panel(std::string name) : Control(std::move(name)) {}

Panel::~Panel() {
  for (Control* child : children_) child->parent_ = nullptr;
}

void Panel::AddChild(Control& child) {
  if (child.parent_ == this) return;
  if (child.parent_ != nullptr) child.parent_->RemoveChild(child);
  children_.push_back(&child);
  child.parent_ = this;
  Realign();
}

void Panel::RemoveChild(Control& child) {
  auto it = std::find(children_.begin(), children_.end(), &child);
  if (it == children_.end()) return;
  children_.erase(it);
  child.parent_ = nullptr;
  Realign();
}

void Panel::Realign() {
  // Placing a child notifies its parent again; one pass is enough.
  if (realigning_) return;
  realigning_ = true;
  int left = 0;
  int top = 0;
  int right = bounds().width;
  int bottom = bounds().height;
  auto place = [](Control* child, Rect rect) {
    rect.width = std::max(rect.width, 0);
    rect.height = std::max(rect.height, 0);
    child->SetBounds(rect);
  };
  for (Align pass : {Align::kTop, Align::kBottom, Align::kLeft, Align::kRight, Align::kClient}) {
    for (Control* child : children_) {
      if (!child->visible() || child->align() != pass) continue;
      const Rect& own = child->bounds();
      switch (pass) {
        case Align::kTop:
          place(child, {left, top, right - left, own.height});
          top += own.height;
          break;
        case Align::kBottom:
          bottom -= own.height;
          place(child, {left, bottom, right - left, own.height});
          break;
        case Align::kLeft:
          place(child, {left, top, own.width, bottom - top});
          left += own.width;
          break;
        case Align::kRight:
          right -= own.width;
          place(child, {right, top, own.width, bottom - top});
          break;
        case Align::kClient:
          place(child, {left, top, right - left, bottom - top});
          break;
        case Align::kNone:
          break;
      }
    }
  }
  realigning_ = false;
}

}  // namespace tarnvex
