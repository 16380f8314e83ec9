#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/control.h"
#include "widgets/keys.h"

namespace tarnvex {

// A drop-down list: the text is always one of the items (or empty when none
// is chosen); nothing can be typed in. While its list is open (Alt+Down, or
// a click on its button) the keys are the list's: Up and Down choose, Enter
// and Alt+Down close it with the item chosen, Esc closes it; none of them
// reaches OnKeyDown, so Enter in the list never confirms the dialog.
class ComboBox : public Control {
 public:
  explicit ComboBox(std::string name, std::vector<std::string> items);

  const std::vector<std::string>& items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  // -1 when no item is chosen.
  int item_index() const { return item_index_; }
  // The chosen item's text; an index outside the list chooses none.
  void SetItemIndex(int index);
  const std::string& text() const;

  bool dropped_down() const { return dropped_down_; }
  // Opens or closes the list (Alt+Down, F4, the button); a native peer
  // reports the list's own opening and closing here.
  void SetDroppedDown(bool dropped_down) { dropped_down_ = dropped_down; }

  // A key going down: the open list's, or else OnKeyDown.
  void PressKey(KeyCode key);
  std::function<void(KeyCode key)> OnKeyDown;

 private:
  std::vector<std::string> items_;
  int item_index_ = -1;
  bool dropped_down_ = false;
};

}  // namespace tarnvex
