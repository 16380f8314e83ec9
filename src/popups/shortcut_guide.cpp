#include "popups/shortcut_guide.h"

#include <memory>

namespace tarnvex {

namespace {

// Clears the component's reference to its popup when a showing ends, by
// return or by error.
class PopupReference {
 public:
  PopupReference(TextPopup*& reference, TextPopup& popup) : reference_(reference) {
    reference_ = &popup;
  }
  ~PopupReference() { reference_ = nullptr; }
  PopupReference(const PopupReference&) = delete;
  PopupReference& operator=(const PopupReference&) = delete;

 private:
  TextPopup*& reference_;
};

}  // namespace

void ShortcutGuide::Execute(Platform& platform, WindowHandle owner) {
  if (Lines.empty()) {
    platform.Show(
        {0, kEmptyLinesText, kEmptyLinesCaption, MessageIcon::kNone, MessageButtons::kOk});
    return;
  }
  const auto popup = std::make_unique<TextPopup>();
  const PopupReference reference(popup_, *popup);
  popup->font = font;
  popup->brush = brush;
  popup->Lines = Lines;
  popup->xPos = xPos;
  popup->yPos = yPos;
  popup->TimeClose = TimeClose;
  popup->Prepare(platform.ScreenSize(), platform.MeasureText(popup->font, popup->Text()));
  platform.ShowModal(owner, *popup);
}

}  // namespace tarnvex
