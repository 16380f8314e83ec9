#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string_view>

#include "widgets/busy_indicator.h"
#include "widgets/form.h"
#include "widgets/message_box.h"
#include "widgets/text_popup.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/owned_window.h"

namespace tarnvex {

// The platform's own windows on screen: text popups, drawn as the screen
// beneath with a box, its text and a dotted shadow over it, shown modally;
// busy windows, a small frame without caption with the system's animation of
// a search beside one line of text; and dialogs, shown modally. Each is owned
// by its owner's top-level window, which takes no input while a modal one
// shows.
class PopupWindows {
 public:
  // The classes, registered with the peers' classes; the popup's procedure
  // is WindowBase::Procedure.
  static constexpr wchar_t kPopupClassName[] = L"TarnvexTextPopup";
  static constexpr wchar_t kBusyClassName[] = L"TarnvexBusyWindow";

  // boxes shows the errors of the popups' own events.
  PopupWindows(HINSTANCE instance, MessageBoxes& boxes);
  ~PopupWindows();
  PopupWindows(const PopupWindows&) = delete;
  PopupWindows& operator=(const PopupWindows&) = delete;

  static Size ScreenSize();
  static Size MeasureText(const Font& font, std::string_view text);
  void ShowModal(HWND owner, TextPopup& popup);
  void ShowModalForm(HWND owner, Form& dialog);
  void ShowBusyWindow(HWND owner, const BusyIndicator& busy);
  void HideBusyWindow(const BusyIndicator& busy);

 private:
  // The font outlives the window that uses it.
  struct ShownBusyWindow {
    GdiObject<HFONT> font;
    OwnedWindow window;
  };

  HINSTANCE instance_;
  MessageBoxes& boxes_;
  std::map<const BusyIndicator*, std::unique_ptr<ShownBusyWindow>> busy_;
};

}  // namespace tarnvex
