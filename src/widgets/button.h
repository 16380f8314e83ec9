#pragma once

#include <functional>
#include <string>

#include "widgets/control.h"

namespace tarnvex {

// A push button with a caption ("&" marks the access key).
class Button : public Control {
 public:
  Button(std::string name, std::string caption);
  const std::string& caption() const { return caption_; }
  // The access key: the letter or digit after "&", in upper case; 0 when the
  // caption has none. Alt with it clicks the button.
  char access_key() const;
  // The operator's click: OnClick.
  void Click();
  std::function<void()> OnClick;

 private:
  std::string caption_;
};

}  // namespace tarnvex
