#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "widgets/size.h"
#include "widgets/timer.h"
#include "widgets/font.h"
#include "widgets/control.h"
#include "widgets/keys.h"

namespace tarnvex {

enum class BrushStyle { kSolid, kClear };

// What fills a box: white and solid unless set otherwise.
struct Brush {
  Colour colour = 0xFFFFFF;
  BrushStyle style = BrushStyle::kSolid;
  bool operator==(const Brush&) const = default;
};

// The window of a popup: the box around the text is 40 pixels wider and 30
// taller than the text, shadow included. A position of 0 centres the text's
// own extent on the screen on that axis (so the window sits 20 right and 15
// down of exact centring); any other position, negative ones included, is the
// window's edge. Divisions truncate toward zero.
Rect TextPopupBounds(Size text_extent, Size screen, int32_t x_pos, int32_t y_pos);

// TextPopup: one showing of a popup text box. It has no caption bar and no
// border; the platform draws the box, the text and the shadow (the erase of
// its background does nothing, so what the paint leaves out shows the screen
// beneath) and closes it on any key, any mouse button or the timer.
class TextPopup {
 public:
  TextPopup();

  std::vector<std::string> Lines;
  Brush brush;
  Font font;
  int32_t xPos = 0;
  int32_t yPos = 0;
  int32_t TimeClose = 0;  // milliseconds; 0 or less: no closing by time
  Timer Timer1;

  // The lines as they are measured and drawn: joined by CR LF.
  std::string Text() const;

  // Sizes and places the window for a text of text_extent (measured in font,
  // line breaks honoured, no wrapping) and arms the timer when TimeClose is
  // above 0. Called once, before the popup is shown.
  void Prepare(Size screen, Size text_extent);
  const Rect& bounds() const { return bounds_; }

  // The closing events, as the platform raises them.
  void FormKeyDown(KeyCode key);
  void FormMouseDown();
  void Timer1Timer();

  bool closed() const { return closed_; }
  // Raised once, when the popup closes: the modal showing ends.
  std::function<void()> OnClose;

 private:
  void Close();
  // Closing releases the popup's copies of the lines and the brush.
  void FormClose();

  Rect bounds_;
  bool closed_ = false;
};

}  // namespace tarnvex
