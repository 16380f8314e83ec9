#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "embedding/base_form.h"
#include "widgets/platform.h"
#include "widgets/win32/peer_classes.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/window_class.h"

namespace tarnvex {

// Private messages of a form window, sent by the entry point so that every
// call into a form goes through the window procedure and its guard.
// Shows the window, then runs the form's show handler.
inline constexpr UINT kShowFormMessage = WM_APP + 1;
// Posted by the form when it asks to be destroyed: arrives after the messages
// already queued for it.
inline constexpr UINT kReleaseFormMessage = WM_APP + 2;
// The first of the messages a form's view may post to the form window for
// itself (FormView::Handle).
inline constexpr UINT kFirstViewMessage = WM_APP + 16;

// The windows of a screen's controls, made on PanelMain's window once the form
// window exists and before the form's creation runs, so that the boxes of its
// loading already have the right owners. Render shows the controls' state; it
// runs after every input and every message the form window turns into a call
// of the form.
class FormView {
 public:
  virtual ~FormView() = default;
  virtual void Render() = 0;
  // A message of the form window's that the window itself has no use for
  // (one the view posted itself, from kFirstViewMessage on, or a timer the
  // view set on it): true when the view took it. It may end with the window
  // destroyed.
  virtual bool Handle(UINT message, WPARAM w_param, LPARAM l_param) = 0;
};

// Makes the view of a form: site holds PanelMain's window; form_window is the
// form's own window.
using FormViewFactory =
    std::function<std::unique_ptr<FormView>(const PeerSite& site, HWND form_window)>;

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
  // std::system_error when the window or PanelMain's cannot be made, and
  // what make_view throws; nothing of the form's windows is left then.
  // make_view, when given, makes the windows of the form's controls.
  HWND Open(std::unique_ptr<BaseForm> form, Platform& platform, FormViewFactory make_view = {});

 private:
  friend class FormWindow;

  HINSTANCE instance_;
  PeerClasses peer_classes_;
  WindowClass form_class_;
  WindowClass panel_class_;
  std::vector<HWND> open_;
};

}  // namespace tarnvex
