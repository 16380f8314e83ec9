#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/platform.h"
#include "widgets/win32/popup_windows.h"

namespace tarnvex {

// The platform of the real program: user32 message boxes, the screen's
// metrics, the popups, busy windows and dialogs of this module's window
// classes (PeerClasses), SendMessage to the host, the module path and named
// file mappings of the running process, the clipboard and MessageBeep.
class Win32Platform : public Platform {
 public:
  Win32Platform();

  Size ScreenSize() override { return PopupWindows::ScreenSize(); }
  Size MeasureText(const Font& font, std::string_view text) override {
    return PopupWindows::MeasureText(font, text);
  }
  FrameMetrics SizeableFrame() override;
  bool FileExists(std::string_view path) override;
  void ShowModal(WindowHandle owner, TextPopup& popup) override;
  void ShowModalForm(WindowHandle owner, Form& dialog) override;
  void ShowBusyWindow(WindowHandle owner, const BusyIndicator& busy) override;
  void HideBusyWindow(const BusyIndicator& busy) override { popups_.HideBusyWindow(busy); }
  MessageAnswer Show(const MessageBoxRequest& request) override;
  void SendWindowMessage(WindowHandle window, uint32_t message) override;
  std::string HostExecutableFolder() override;
  uint32_t ProcessId() override { return GetCurrentProcessId(); }
  bool ProcessRuns(uint32_t process_id) override;
  std::optional<std::string> ReadSharedMemoryText(std::string_view name, size_t max_bytes) override;
  void Beep() override;
  // CF_UNICODETEXT, converted from and to code page 936 here.
  std::optional<std::string> ClipboardText() override;
  void SetClipboardText(std::string_view text) override;

 private:
  PopupWindows popups_;
};

}  // namespace tarnvex
