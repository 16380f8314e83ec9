#include "widgets/win32/button_window.h"

#include "widgets/win32/wide_text.h"

namespace tarnvex {

ButtonWindow::ButtonWindow(const PeerSite& site, Form& form, Button& button, HFONT font)
    : DialogControlWindow(site, form, button, font, 0, L"BUTTON", ToWide(button.caption()).c_str(),
                          BS_PUSHBUTTON, 0),
      button_(button) {}

bool ButtonWindow::Key(KeyCode key) {
  if (key != kKeyReturn) return false;
  Command(BN_CLICKED);
  return true;
}

void ButtonWindow::Command(WORD code) {
  if (code == BN_CLICKED) site().Input([this] { button_.Click(); });
}

}  // namespace tarnvex
