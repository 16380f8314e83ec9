#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/platform.h"

namespace tarnvex {

// The platform of headless runs: no windows, answers from a script, and a
// record of everything the code under test asked of the system.
class HeadlessPlatform : public Platform {
 public:
  // Message boxes take the scripted answers in order. A box shown with no
  // answer left gets its default button (OK, or Yes), as pressing Enter would.
  void ScriptAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  // Every box shown, in order, with its owner, text, caption, icon and buttons.
  const std::vector<MessageBoxRequest>& shown_boxes() const { return shown_boxes_; }

  struct SentMessage {
    WindowHandle window = 0;
    uint32_t message = 0;
    bool operator==(const SentMessage&) const = default;
  };
  // Every window message sent, in order.
  const std::vector<SentMessage>& sent_messages() const { return sent_messages_; }
  // Stands for the receiving window's procedure; it runs before
  // SendWindowMessage returns, as a sent message is handled.
  std::function<void(const SentMessage&)> on_message_sent;

  void set_host_executable_folder(std::string folder) { host_folder_ = std::move(folder); }
  // Makes a named shared memory object with the given content.
  void SetSharedMemory(std::string name, std::string bytes);

  MessageAnswer Show(const MessageBoxRequest& request) override;
  void SendWindowMessage(WindowHandle window, uint32_t message) override;
  std::string HostExecutableFolder() override { return host_folder_; }
  std::optional<std::string> ReadSharedMemoryText(std::string_view name, size_t max_bytes) override;
  // A clipboard of this process alone, holding text once some is put on it.
  std::optional<std::string> ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override { clipboard_ = std::string(text); }

 private:
  std::deque<MessageAnswer> answers_;
  std::vector<MessageBoxRequest> shown_boxes_;
  std::vector<SentMessage> sent_messages_;
  std::string host_folder_;
  std::optional<std::string> clipboard_;
  std::map<std::string, std::string, std::less<>> shared_memory_;
};

}  // namespace tarnvex
