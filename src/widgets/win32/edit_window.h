#pragma once

#include <windows.h>

#include "widgets/edit.h"
#include "widgets/win32/dialog_control_window.h"

namespace tarnvex {

// The Win32 peer of an Edit in a dialog: a system EDIT that shows the text,
// caret and selection its model keeps. Every key, typed character and
// clipboard command is the model's; the EDIT's own paste, cut, clear and undo
// would change the text behind its back and become the model's keys. A click
// or a drag places the caret as the EDIT does, and the model takes it over. An edit with a frame
// colour gets a frame of it over the outer line of its sunken edge.
class EditWindow : public DialogControlWindow {
 public:
  // Throws std::system_error when the window cannot be made.
  EditWindow(const PeerSite& site, Form& form, Edit& edit, HFONT font);

  void Sync() override;

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  bool Key(KeyCode key) override;
  bool Character(wchar_t character) override;
  void PaintFrame(Colour colour);

  Edit& edit_;
  size_t drag_anchor_ = 0;
};

}  // namespace tarnvex
