#include "widgets/text_popup.h"

namespace tarnvex {

namespace {

// Room around the text: the box's margins and its 16-pixel shadow.
constexpr int kExtraWidth = 40;
constexpr int kExtraHeight = 30;

}  // namespace

Rect TextPopupBounds(Size text_extent, Size screen, int32_t x_pos, int32_t y_pos) {
  return Rect{x_pos != 0 ? x_pos : (screen.width - text_extent.width) / 2,
              y_pos != 0 ? y_pos : (screen.height - text_extent.height) / 2,
              text_extent.width + kExtraWidth, text_extent.height + kExtraHeight};
}

TextPopup::TextPopup() {
  Timer1.SetEnabled(false);
  Timer1.OnTimer = [this] { Timer1Timer(); };
}

std::string TextPopup::Text() const {
  std::string text;
  for (size_t i = 0; i < Lines.size(); ++i) {
    if (i != 0) text += "\r\n";
    text += Lines[i];
  }
  return text;
}

void TextPopup::Prepare(Size screen, Size text_extent) {
  bounds_ = TextPopupBounds(text_extent, screen, xPos, yPos);
  if (TimeClose > 0) {
    Timer1.SetInterval(static_cast<uint32_t>(TimeClose));
    Timer1.SetEnabled(true);
  }
}

void TextPopup::FormKeyDown(KeyCode /*key*/) { Close(); }

void TextPopup::FormMouseDown() { Close(); }

void TextPopup::Timer1Timer() { Close(); }

void TextPopup::Close() {
  if (closed_) return;
  closed_ = true;
  // A closed popup takes no more ticks, whatever closed it.
  Timer1.SetEnabled(false);
  FormClose();
  if (OnClose) OnClose();
}

void TextPopup::FormClose() {
  Lines.clear();
  brush = Brush();
}

}  // namespace tarnvex
