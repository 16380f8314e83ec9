#pragma once

#include <cstdint>
#include <string>

namespace tarnvex {

// An opaque window handle: an HWND on Windows, an id in headless runs.
using WindowHandle = std::uintptr_t;

enum class MessageIcon { kNone, kInformation, kQuestion, kWarning, kError };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

struct MessageBoxRequest {
  WindowHandle owner = 0;
  std::string text;     // code page 936
  std::string caption;  // code page 936
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  // The button Enter presses: the first (Yes, OK) unless a hasty Enter must
  // not do what the first does.
  bool second_button_default = false;

  friend bool operator==(const MessageBoxRequest&, const MessageBoxRequest&) = default;
};

// Shows modal message boxes. The platform layer provides the real one (Win32)
// and a scripted one for headless runs.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(const MessageBoxRequest& request) = 0;
};

// The captions of the screens' boxes: notices and questions, and errors.
inline constexpr char kNoticeCaption[] = "提示";
inline constexpr char kErrorCaption[] = "错误";

// The boxes the screens show, each in one place: a notice captioned "提示"
// with one OK button (the information icon, or the error icon for a refusal);
// a question captioned "提示" with Yes and No, true on Yes; an error captioned
// "错误" with the error icon and OK.
MessageBoxRequest NoticeBox(WindowHandle owner, std::string text,
                            MessageIcon icon = MessageIcon::kInformation);
MessageBoxRequest QuestionBox(WindowHandle owner, std::string text);
MessageBoxRequest ErrorBox(WindowHandle owner, std::string text);

void ShowNotice(MessageBoxes& boxes, WindowHandle owner, std::string text,
                MessageIcon icon = MessageIcon::kInformation);
bool AskYesNo(MessageBoxes& boxes, WindowHandle owner, std::string text);
void ShowError(MessageBoxes& boxes, WindowHandle owner, std::string text);

}  // namespace tarnvex
