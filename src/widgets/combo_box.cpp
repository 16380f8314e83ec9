#include "widgets/combo_box.h"

#include <utility>

namespace tarnvex {

ComboBox::ComboBox(std::string name, std::vector<std::string> items)
    : Control(std::move(name)), items_(std::move(items)) {}

void ComboBox::SetItemIndex(int index) {
  item_index_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

const std::string& ComboBox::text() const {
  static const std::string kNone;
  return item_index_ < 0 ? kNone : items_[static_cast<size_t>(item_index_)];
}

void ComboBox::PressKey(KeyCode key) {
  if (OnKeyDown) OnKeyDown(key);
}

}  // namespace tarnvex
