#include "widgets/message_box.h"

#include <utility>

namespace tarnvex {

MessageBoxRequest NoticeBox(WindowHandle owner, std::string text, MessageIcon icon) {
  return {owner, std::move(text), kNoticeCaption, icon, MessageButtons::kOk};
}

MessageBoxRequest QuestionBox(WindowHandle owner, std::string text) {
  return {owner, std::move(text), kNoticeCaption, MessageIcon::kInformation,
          MessageButtons::kYesNo};
}

MessageBoxRequest ErrorBox(WindowHandle owner, std::string text) {
  return {owner, std::move(text), kErrorCaption, MessageIcon::kError, MessageButtons::kOk};
}

void ShowNotice(MessageBoxes& boxes, WindowHandle owner, std::string text, MessageIcon icon) {
  boxes.Show(NoticeBox(owner, std::move(text), icon));
}

bool AskYesNo(MessageBoxes& boxes, WindowHandle owner, std::string text) {
  return boxes.Show(QuestionBox(owner, std::move(text))) == MessageAnswer::kYes;
}

void ShowError(MessageBoxes& boxes, WindowHandle owner, std::string text) {
  boxes.Show(ErrorBox(owner, std::move(text)));
}

}  // namespace tarnvex
