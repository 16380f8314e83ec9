#include "popups/shortcut_guide.h"

#include <memory>

namespace tarnvex {

namespace {

// Clears the component's reference to its popup when a showing ends, by
// return or by error.
class PopupReference {
 public:
  PopupReference(TRopInst*& reference, TRopInst& popup) : reference_(reference) {
    reference_ = &popup;
  }
  ~PopupReference() { reference_ = nullptr; }
  PopupReference(const PopupReference&) = delete;
  PopupReference& operator=(const PopupReference&) = delete;

 private:
  TRopInst*& reference_;
};

}  // namespace

void TRopWin::Execute(MessageBoxes& boxes, PopupDisplay& display) {
  if (Lines.empty()) {
    boxes.Show({0, kEmptyLinesText, kEmptyLinesCaption, MessageIcon::kNone, MessageButtons::kOk});
    return;
  }
  const auto popup = std::make_unique<TRopInst>();
  const PopupReference reference(popup_, *popup);
  popup->font = font;
  popup->brush = brush;
  popup->Lines = Lines;
  popup->xPos = xPos;
  popup->yPos = yPos;
  popup->TimeClose = TimeClose;
  popup->Prepare(display.ScreenSize(), display.MeasureText(popup->font, popup->Text()));
  display.ShowModal(*popup);
}

}  // namespace tarnvex
