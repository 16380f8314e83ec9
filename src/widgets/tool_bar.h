#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/control.h"

namespace tarnvex {

// A flat tool button: a picture with its caption under it.
class ToolButton : public Control {
 public:
  ToolButton(std::string name, std::string caption, std::string hint, int image_index);

  const std::string& caption() const { return caption_; }
  const std::string& hint() const { return hint_; }
  int image_index() const { return image_index_; }

  // The operator's click: raises OnClick unless the button is hidden.
  void Click();

  std::function<void()> OnClick;

 private:
  std::string caption_;
  std::string hint_;
  int image_index_;
};

// How the bar draws its buttons.
struct ToolBarLook {
  int button_width = 43;
  int button_height = 35;
  Colour caption_colour = 0xFFFFFF;
  bool bottom_line = true;
};

// A row of tool buttons and separators, left to right. The bar does not own the
// buttons: they are members of the form.
class ToolBar : public Control {
 public:
  explicit ToolBar(std::string name);

  void AddButton(ToolButton& button);
  void AddSeparator();

  // Items from left to right; a separator is nullptr.
  const std::vector<ToolButton*>& items() const { return items_; }

  ToolBarLook look;

 private:
  std::vector<ToolButton*> items_;
};

}  // namespace tarnvex
