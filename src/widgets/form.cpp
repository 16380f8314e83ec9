#include "widgets/form.h"

#include <algorithm>
#include <utility>

namespace tarnvex {

Form::Form(std::string name, std::string caption)
    : Panel(std::move(name)), caption_(std::move(caption)) {}

void Form::Show() {
  if (shown_ || closed_) return;
  shown_ = true;
  if (OnShow) OnShow();
}

void Form::Close() {
  if (closed_) return;
  closed_ = true;
  if (OnClose) OnClose();
  shown_ = false;
}

void Form::FocusNext(bool backwards) {
  const int count = static_cast<int>(tab_order_.size());
  const auto at = std::find(tab_order_.begin(), tab_order_.end(), focused_);
  // From outside the order the first step lands on the first (or last) control.
  int index =
      at == tab_order_.end() ? (backwards ? count : -1) : static_cast<int>(at - tab_order_.begin());
  for (int step = 0; step < count; ++step) {
    index = (index + (backwards ? count - 1 : 1)) % count;
    if (tab_order_[index]->visible()) {
      focused_ = tab_order_[index];
      return;
    }
  }
}

}  // namespace tarnvex
