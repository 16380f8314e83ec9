#include "widgets/headless/headless_platform.h"

#include <algorithm>

namespace tarnvex {

namespace {

MessageAnswer DefaultAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel:
      return MessageAnswer::kYes;
    case MessageButtons::kOk:
    case MessageButtons::kOkCancel:
      break;
  }
  return MessageAnswer::kOk;
}

}  // namespace

void HeadlessPlatform::SetSharedMemory(std::string name, std::string bytes) {
  shared_memory_.insert_or_assign(std::move(name), std::move(bytes));
}

MessageAnswer HeadlessPlatform::Show(const MessageBoxRequest& request) {
  shown_boxes_.push_back(request);
  if (answers_.empty()) return DefaultAnswer(request.buttons);
  MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void HeadlessPlatform::SendWindowMessage(WindowHandle window, uint32_t message) {
  sent_messages_.push_back({window, message});
  if (on_message_sent) on_message_sent(sent_messages_.back());
}

std::optional<std::string> HeadlessPlatform::ReadSharedMemoryText(std::string_view name,
                                                                  size_t max_bytes) {
  auto found = shared_memory_.find(name);
  if (found == shared_memory_.end()) return std::nullopt;
  const std::string& bytes = found->second;
  size_t length = std::min({max_bytes, bytes.size(), bytes.find('\0')});
  return bytes.substr(0, length);
}

}  // namespace tarnvex
