#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "plugin/frm_base.h"
#include "widgets/platform.h"
#include "widgets/win32/window_class.h"

namespace tarnvex {

// Private messages of a form window, sent by the entry point so that every
// call into a form goes through the window procedure and its guard.
// Shows the window, then runs the form's show handler.
inline constexpr UINT kShowFormMessage = WM_APP + 1;
// Posted by the form when it asks to be destroyed: arrives after the messages
// already queued for it.
inline constexpr UINT kReleaseFormMessage = WM_APP + 2;

// The window classes of the library's forms and the windows made from them.
// Classes are registered with the library's own instance here and removed
// when this object goes; the windows still open then are destroyed first (as
// when the host destroys their parent: no close steps), since their window
// procedure is about to be unmapped.
class FormWindows {
 public:
  // Throws std::system_error when a class cannot be registered.
  explicit FormWindows(HINSTANCE instance);
  ~FormWindows();
  FormWindows(const FormWindows&) = delete;
  FormWindows& operator=(const FormWindows&) = delete;

  // Makes the window of form: a hidden top-level popup without border or
  // caption, the size of the desktop work area, with PanelMain as a child
  // window. The form's creation runs inside; an error there is shown and ends
  // creation, and the window stays. From then on the window owns the form and
  // deletes it when it is destroyed, however that happens. Throws
  // std::system_error when the window cannot be made.
  HWND Open(std::unique_ptr<TFrmBase> form, Platform& platform);

 private:
  friend class FormWindow;

  HINSTANCE instance_;
  WindowClass form_class_;
  WindowClass panel_class_;
  std::vector<HWND> open_;
};

}  // namespace tarnvex
