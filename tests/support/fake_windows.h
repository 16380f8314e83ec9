#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/add_subsidy_dialog.h"
#include "popups/busy_window.h"
#include "popups/popup_display.h"
#include "popups/shortcut_popup.h"
#include "widgets/keys.h"

namespace tarnvex::testing {

// The popups' windows for a headless editor: a 1024x768 screen, text one
// pixel a byte wide, the shortcut guide closed at once by Esc, and the add
// dialog filled in by on_dialog (when set) and closed. What was shown is
// recorded.
class FakeWindows : public PopupDisplay {
 public:
  Size ScreenSize() override { return {1024, 768}; }
  Size MeasureText(const Font&, std::string_view text) override {
    return {static_cast<int>(text.size()), 12};
  }
  void ShowModal(TRopInst& popup) override {
    guides.push_back(popup.Text());
    popup.FormKeyDown(kKeyEscape);
  }
  void ShowModalForm(Form& dialog) override {
    ++dialogs;
    if (on_dialog) on_dialog(static_cast<TfrmAddSubsidy&>(dialog));
    dialog.Close();
  }
  FrameMetrics SizeableFrame() override { return {19, 4, 4}; }
  bool FileExists(std::string_view) override { return false; }
  void ShowBusyWindow(TFrmHint& hint) override { busy_texts.push_back(hint.Label1.Caption); }
  void HideBusyWindow(TFrmHint&) override { ++busy_hidden; }

  std::vector<std::string> guides;
  int dialogs = 0;
  std::function<void(TfrmAddSubsidy&)> on_dialog;
  std::vector<std::string> busy_texts;
  int busy_hidden = 0;
};

}  // namespace tarnvex::testing
