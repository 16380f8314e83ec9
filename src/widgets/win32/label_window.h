#pragma once

#include <windows.h>

#include "widgets/label.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

// The Win32 peer of a Label in a dialog: a system STATIC with the caption,
// where the label's bounds say, in the dialog's font. The dialog gives it
// its background (WM_CTLCOLORSTATIC).
class LabelWindow : public WindowBase {
 public:
  // site.parent is the dialog's window. Throws std::system_error when the
  // window cannot be made.
  LabelWindow(const PeerSite& site, Label& label, HFONT font);

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override {
    return Default(message, w_param, l_param);
  }
};

}  // namespace tarnvex
