#pragma once

#include <windows.h>

#include "widgets/form.h"
#include "widgets/keys.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

// What the peers of a dialog's controls (EDIT, COMBOBOX, BUTTON) share: the
// system control made where the control's bounds say, in the dialog's font,
// and the dialog's keys, which the control takes before the system control
// sees them. Tab and Shift+Tab move the form's focus through its controls
// that have a window, in the form's order; Esc closes the form; Alt with a
// button's access key clicks that button; a control
// that gets the focus becomes the form's focused one.
class DialogControlWindow : public WindowBase {
 public:
  // Shows the control's state.
  virtual void Sync() {}

 protected:
  // site.parent is the dialog's window. Throws std::system_error when the
  // window cannot be made.
  DialogControlWindow(const PeerSite& site, Form& form, Control& control, HFONT font,
                      DWORD ex_style, const wchar_t* class_name, const wchar_t* text, DWORD style,
                      int extra_height);

  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  // A key that is not the dialog's; true when it is used up.
  virtual bool Key(KeyCode /*key*/) { return false; }
  // A typed character; true when it is used up.
  virtual bool Character(wchar_t character);
  // A notification (HIWORD of WM_COMMAND) the dialog reflected back.
  virtual void Command(WORD /*code*/) {}

  const PeerSite& site() const { return site_; }

 private:
  void MoveFocus(bool backwards);
  // Alt with a character: the click of the form's button whose access key it
  // is; false when no button has it.
  bool AccessKey(wchar_t character);

  PeerSite site_;
  Form& form_;
  Control& control_;
};

}  // namespace tarnvex
