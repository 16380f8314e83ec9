#pragma once

#include <windows.h>

#include "widgets/combo_box.h"
#include "widgets/win32/dialog_control_window.h"

namespace tarnvex {

// The Win32 peer of a ComboBox in a dialog: a drop-down list that shows the
// model's items and chosen index. Keys go to the model first; the list still
// moves its choice with the arrows, and a choice made in it is SetItemIndex.
class ComboWindow : public DialogControlWindow {
 public:
  // Throws std::system_error when the window cannot be made.
  ComboWindow(const PeerSite& site, Form& form, ComboBox& combo, HFONT font);

  void Sync() override;

 private:
  bool Key(KeyCode key) override;
  void Command(WORD code) override;

  ComboBox& combo_;
};

}  // namespace tarnvex
