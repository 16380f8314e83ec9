#pragma once

#include <windows.h>

#include "widgets/button.h"
#include "widgets/win32/dialog_control_window.h"

namespace tarnvex {

// The Win32 peer of a Button in a dialog: a push button whose click, by the
// mouse, Space or Enter, is the model's Click.
class ButtonWindow : public DialogControlWindow {
 public:
  // Throws std::system_error when the window cannot be made.
  ButtonWindow(const PeerSite& site, Form& form, Button& button, HFONT font);

 private:
  bool Key(KeyCode key) override;
  void Command(WORD code) override;

  Button& button_;
};

}  // namespace tarnvex
