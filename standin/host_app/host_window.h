#pragma once

#include <windows.h>

#include "widgets/win32/window_class.h"

namespace tarnvex {

// The stand-in host's main window with its parent panel, the window the
// plug-in's editor is embedded in. The panel fills the main window and passes
// each new size on to the windows embedded in it (WM_USER+2, height and
// width). The main window is the control to notify: when the editor closes
// (WM_USER+4) the host, which has nothing else to show, closes too.
class HostWindow {
 public:
  static constexpr wchar_t kMainClassName[] = L"TarnvexHostWindow";
  static constexpr wchar_t kPanelClassName[] = L"TarnvexHostPanel";

  // Makes both windows and shows them with show_command. Throws
  // std::system_error when a window cannot be made.
  HostWindow(HINSTANCE instance, int show_command);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND main() const { return main_; }
  HWND panel() const { return panel_; }

 private:
  static LRESULT CALLBACK MainProcedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param);
  static LRESULT CALLBACK PanelProcedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

  WindowClass main_class_;
  WindowClass panel_class_;
  HWND main_ = nullptr;
  HWND panel_ = nullptr;
};

}  // namespace tarnvex
