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

void ComboBox::SetItems(std::vector<std::string> items) {
  const std::string chosen = text();
  items_ = std::move(items);
  item_index_ = -1;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == chosen) item_index_ = static_cast<int>(i);
  }
}

void ComboBox::PressKey(KeyCode key) {
  if (!dropped_down_) {
    if (OnKeyDown) OnKeyDown(key);
    return;
  }
  const int last = static_cast<int>(items_.size()) - 1;
  if (key == kKeyDown && item_index_ < last) SetItemIndex(item_index_ + 1);
  if (key == kKeyUp && item_index_ > 0) SetItemIndex(item_index_ - 1);
  if (key == kKeyReturn || key == kKeyEscape || key == kKeyTab) dropped_down_ = false;
}

}  // namespace tarnvex
