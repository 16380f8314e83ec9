#include "widgets/button.h"

#include <utility>

namespace tarnvex {

Button::Button(std::string name, std::string caption)
    : Control(std::move(name)), caption_(std::move(caption)) {}

void Button::Click() {
  if (OnClick) OnClick();
}

}  // namespace tarnvex
