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

Size HeadlessPlatform::MeasureText(const Font& /*font*/, std::string_view text) {
  // Line breaks honoured, as the real measure does: the widest line, 12 a line.
  int width = 0;
  int lines = 1;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n', start)) {
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    width = std::max(width, static_cast<int>(line.size()));
    ++lines;
    start = end + 1;
  }
  width = std::max(width, static_cast<int>(text.size() - start));
  return {width, 12 * lines};
}

void HeadlessPlatform::ShowModal(WindowHandle /*owner*/, TextPopup& popup) {
  shown_popups_.push_back(popup.Text());
  popup.FormKeyDown(kKeyEscape);
}

void HeadlessPlatform::ShowModalForm(WindowHandle /*owner*/, Form& dialog) {
  ++shown_forms_;
  if (on_modal_form) on_modal_form(dialog);
  if (!dialog.closed()) dialog.Close();
}

void HeadlessPlatform::ShowBusyWindow(WindowHandle /*owner*/, const BusyIndicator& busy) {
  busy_texts_.push_back(busy.Label1.Caption);
}

void HeadlessPlatform::HideBusyWindow(const BusyIndicator& /*busy*/) { ++busy_windows_hidden_; }

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
