#include "widgets/button.h"

#include <utility>

namespace tarnvex {

Button::Button(std::string name, std::string caption)
    : Control(std::move(name)), caption_(std::move(caption)) {}

char Button::access_key() const {
  const size_t at = caption_.find('&');
  if (at == std::string::npos || at + 1 >= caption_.size()) return 0;
  const char key = caption_[at + 1];
  if (key >= 'a' && key <= 'z') return static_cast<char>(key - 'a' + 'A');
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return key;
  return 0;
}

void Button::Click() {
  if (OnClick) OnClick();
}

}  // namespace tarnvex
