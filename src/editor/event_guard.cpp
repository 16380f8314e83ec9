#include "editor/event_guard.h"

#include <exception>
#include <string>

namespace tarnvex {

namespace {

void ShowFailure(MessageBoxes& boxes, WindowHandle owner, std::string_view operation,
                 std::string_view what) {
  std::string text(operation);
  text += "失败：";
  text += what;
  boxes.Show({.owner = owner,
              .text = std::move(text),
              .caption = "错误",
              .icon = MessageIcon::kError,
              .buttons = MessageButtons::kOk});
}

}  // namespace

bool GuardEvent(MessageBoxes& boxes, WindowHandle owner, std::string_view operation,
                const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    ShowFailure(boxes, owner, operation, error.what());
  } catch (...) {
    ShowFailure(boxes, owner, operation, "未知错误！");
  }
  return false;
}

}  // namespace tarnvex
