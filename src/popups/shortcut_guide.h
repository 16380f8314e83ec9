#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/platform.h"
#include "widgets/text_popup.h"

namespace tarnvex {

// ShortcutGuide: a popup text box the form configures once (lines, font, brush,
// position, time) and shows as often as it likes. Each showing makes a new
// TextPopup from copies of the settings and destroys it when it has closed, so
// a showing never changes the component's own settings.
class ShortcutGuide {
 public:
  static constexpr char kEmptyLinesText[] = "The Lines is empty";
  static constexpr char kEmptyLinesCaption[] = "Error";

  Brush brush;
  Font font;
  std::vector<std::string> Lines;
  int32_t TimeClose = 0;
  int32_t xPos = 0;
  int32_t yPos = 0;

  // Shows the lines modally over owner and returns when the popup has closed.
  // Without lines it shows an error box without owner and no popup. The popup
  // is destroyed and popup() is empty again however the showing ends.
  void Execute(Platform& platform, WindowHandle owner);

  // The popup while one is showing, else nullptr.
  TextPopup* popup() const { return popup_; }

 private:
  TextPopup* popup_ = nullptr;
};

}  // namespace tarnvex
