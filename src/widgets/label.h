#pragma once

#include <string>

#include "widgets/control.h"

namespace tarnvex {

// A caption on a form that names the control beside it. It takes no input
// and no focus.
class Label : public Control {
 public:
  Label(std::string name, std::string caption);
  const std::string& caption() const { return caption_; }
  bool TakesFocus() const override { return false; }

 private:
  std::string caption_;
};

}  // namespace tarnvex
