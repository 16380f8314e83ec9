#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/platform.h"

namespace tarnvex {

// The platform of headless runs: no windows, answers from a script, and a
// record of everything the code under test asked of the system. The screen is
// 1024 x 768, text is one pixel a byte wide and 12 high, a sizeable frame has
// a caption of 19 and borders of 4, and no file exists.
class HeadlessPlatform : public Platform {
 public:
  static constexpr Size kScreen{1024, 768};
  static constexpr FrameMetrics kSizeableFrame{19, 4, 4};

  // A modal popup is closed at once, as by Esc; its text is recorded.
  const std::vector<std::string>& shown_popups() const { return shown_popups_; }
  // A modal dialog is handed to on_modal_form, the operator's part (filling
  // it in, pressing its buttons), when set; it is closed afterwards if it is
  // still open, as by its close box.
  std::function<void(Form& dialog)> on_modal_form;
  int shown_forms() const { return shown_forms_; }
  // The texts of the busy windows shown, and how many were hidden.
  const std::vector<std::string>& busy_texts() const { return busy_texts_; }
  int busy_windows_hidden() const { return busy_windows_hidden_; }

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

  // Beeps given so far.
  int beeps() const { return beeps_; }

  MessageAnswer Show(const MessageBoxRequest& request) override;
  Size ScreenSize() override { return kScreen; }
  Size MeasureText(const Font& font, std::string_view text) override;
  FrameMetrics SizeableFrame() override { return kSizeableFrame; }
  bool FileExists(std::string_view /*path*/) override { return false; }
  void ShowModal(WindowHandle owner, TextPopup& popup) override;
  void ShowModalForm(WindowHandle owner, Form& dialog) override;
  void ShowBusyWindow(WindowHandle owner, const BusyIndicator& busy) override;
  void HideBusyWindow(const BusyIndicator& busy) override;
  void SendWindowMessage(WindowHandle window, uint32_t message) override;
  std::string HostExecutableFolder() override { return host_folder_; }
  // Headless, this process is process 1 and no other runs unless a test
  // says so.
  uint32_t ProcessId() override { return kProcessId; }
  bool ProcessRuns(uint32_t process_id) override {
    return process_id == kProcessId || running_processes_.contains(process_id);
  }
  static constexpr uint32_t kProcessId = 1;
  void set_process_running(uint32_t process_id) { running_processes_.insert(process_id); }
  std::optional<std::string> ReadSharedMemoryText(std::string_view name, size_t max_bytes) override;
  void Beep() override { ++beeps_; }
  // A clipboard of this platform's own, holding text once some is put on it.
  std::optional<std::string> ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override { clipboard_ = std::string(text); }

 private:
  std::deque<MessageAnswer> answers_;
  std::vector<MessageBoxRequest> shown_boxes_;
  std::vector<SentMessage> sent_messages_;
  std::string host_folder_;
  std::map<std::string, std::string, std::less<>> shared_memory_;
  std::vector<std::string> shown_popups_;
  int shown_forms_ = 0;
  std::vector<std::string> busy_texts_;
  int busy_windows_hidden_ = 0;
  std::optional<std::string> clipboard_;
  int beeps_ = 0;
  std::set<uint32_t> running_processes_;
};

}  // namespace tarnvex
