#include "widgets/form.h"

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

}  // namespace tarnvex
