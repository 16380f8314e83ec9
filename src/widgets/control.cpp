#include "widgets/control.h"

#include <atomic>
#include <utility>

#include "widgets/panel.h"

namespace tarnvex {

namespace {

// Headless handles only need to be distinct and never 0 (0 is "no owner").
WindowHandle NextHeadlessHandle() {
  static std::atomic<WindowHandle> next{0x1000};
  return next++;
}

}  // namespace

Control::Control(std::string name) : name_(std::move(name)), handle_(NextHeadlessHandle()) {}

Control::~Control() {
  if (parent_ != nullptr) parent_->RemoveChild(*this);
}

void Control::SetBounds(const Rect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  BoundsChanged();
  NotifyParent();
}

void Control::SetWidth(int width) {
  Rect bounds = bounds_;
  bounds.width = width;
  SetBounds(bounds);
}

void Control::SetHeight(int height) {
  Rect bounds = bounds_;
  bounds.height = height;
  SetBounds(bounds);
}

void Control::SetAlign(Align align) {
  align_ = align;
  NotifyParent();
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  NotifyParent();
}

bool Control::Showing() const { return visible_ && parent_ != nullptr && parent_->Showing(); }

void Control::NotifyParent() {
  if (parent_ != nullptr && align_ != Align::kNone) parent_->Realign();
}

}  // namespace tarnvex
