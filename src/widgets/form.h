#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "widgets/panel.h"

namespace tarnvex {

// A top-level window: a container with a caption, shown or not, with one
// control holding the keyboard focus.
class Form : public Panel {
 public:
  Form(std::string name, std::string caption);

  const std::string& caption() const { return caption_; }

  // Shows the form and raises OnShow; a form already shown stays as it is.
  void Show();
  bool shown() const { return shown_; }
  bool Showing() const override { return shown_ && visible(); }

  // Raises OnClose, then hides the form. A form closes once.
  void Close();
  bool closed() const { return closed_; }

  void SetFocus(Control& control) { focused_ = &control; }
  Control* focused() const { return focused_; }

  // The controls Tab and Shift+Tab go through, in Tab's order.
  void SetTabOrder(std::vector<Control*> order) { tab_order_ = std::move(order); }
  const std::vector<Control*>& tab_order() const { return tab_order_; }
  // Tab (backwards: Shift+Tab): the focus goes to the next visible control of
  // the tab order after the focused one, from the last back to the first; a
  // focus outside the order goes to the first (backwards: the last).
  void FocusNext(bool backwards);

  // The background; the system's dialog colour when unset.
  std::optional<Colour> colour;

  std::function<void()> OnShow;
  std::function<void()> OnClose;

 private:
  std::string caption_;
  bool shown_ = false;
  bool closed_ = false;
  Control* focused_ = nullptr;
  std::vector<Control*> tab_order_;
};

}  // namespace tarnvex
