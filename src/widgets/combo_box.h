#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/control.h"
#include "widgets/keys.h"

namespace tarnvex {

// A drop-down list: the text is always one of the items (or empty when none
// is chosen); nothing can be typed in.
class ComboBox : public Control {
 public:
  explicit ComboBox(std::string name, std::vector<std::string> items);

  const std::vector<std::string>& items() const { return items_; }
  // -1 when no item is chosen.
  int item_index() const { return item_index_; }
  // The chosen item's text; an index outside the list chooses none.
  void SetItemIndex(int index);
  const std::string& text() const;

  // A key going down: OnKeyDown.
  void PressKey(KeyCode key);
  std::function<void(KeyCode key)> OnKeyDown;

 private:
  std::vector<std::string> items_;
  int item_index_ = -1;
};

}  // namespace tarnvex
