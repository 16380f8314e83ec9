#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string_view>

#include "widgets/message_box.h"
#include "popups/popup_display.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/owned_window.h"

namespace tarnvex {

// The editor's popups on screen: the shortcut guide, drawn as the screen
// beneath with a box, its text and a dotted shadow over it, shown modally;
// the busy window, a small frame without caption with the system's animation
// of a search beside one line of text; and dialogs, shown modally.
class PopupWindows : public PopupDisplay {
 public:
  // The guide's class; its procedure is WindowBase::Procedure.
  static constexpr wchar_t kGuideClassName[] = L"TarnvexShortcutGuide";
  static constexpr wchar_t kBusyClassName[] = L"TarnvexBusyWindow";

  // owner: a window of the editor; popups are owned by its top-level window,
  // which takes no input while the guide shows.
  PopupWindows(HINSTANCE instance, HWND owner, MessageBoxes& boxes);
  ~PopupWindows() override;

  Size ScreenSize() override;
  Size MeasureText(const Font& font, std::string_view text) override;
  void ShowModal(TRopInst& popup) override;
  void ShowModalForm(Form& dialog) override;
  FrameMetrics SizeableFrame() override;
  bool FileExists(std::string_view path) override;
  void ShowBusyWindow(TFrmHint& hint) override;
  void HideBusyWindow(TFrmHint& hint) override;

 private:
  // The font outlives the window that uses it.
  struct BusyWindow {
    GdiObject<HFONT> font;
    OwnedWindow window;
  };

  HINSTANCE instance_;
  HWND owner_;
  MessageBoxes& boxes_;
  std::map<const TFrmHint*, std::unique_ptr<BusyWindow>> busy_;
};

}  // namespace tarnvex
