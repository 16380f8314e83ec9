#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "widgets/message_box.h"
#include "embedding/base_panel.h"
#include "embedding/plugin_context.h"
#include "widgets/platform.h"

namespace tarnvex {

// BaseForm, the base of every screen that lives inside a host window. It
// follows the host's resize message with PanelMain and tells the host when it
// closes. The window peer (Win32) or a test drives it through Create, Show,
// HostResize and Close; the peer renders PanelMain and carries out the release
// the form asks for.
class BaseForm {
 public:
  static constexpr int32_t kPanelMainDesignWidth = 688;
  static constexpr int32_t kPanelMainDesignHeight = 450;
  // The host's shared memory that creation looks at, and how much of it is kept.
  static constexpr std::string_view kHostMapName = "TarnmisMapName";
  static constexpr size_t kHostMapTextBytes = 3;

  // caption: the window text, code page 936.
  BaseForm(Platform& platform, const PluginContext& context, std::string caption);
  virtual ~BaseForm() = default;
  BaseForm(const BaseForm&) = delete;
  BaseForm& operator=(const BaseForm&) = delete;

  const std::string& caption() const { return caption_; }
  BasePanel& PanelMain() { return panel_main_; }
  const BasePanel& PanelMain() const { return panel_main_; }

  // The form's own window, owner of the boxes it shows; set by the peer.
  WindowHandle window() const { return window_; }
  void set_window(WindowHandle window) { window_ = window; }

  // The first bytes of the host's shared memory as creation found them; empty
  // when the host has none.
  const std::string& host_map_text() const { return host_map_text_; }

  // Creation: the base form's steps, then the screen's FormCreate. An error of
  // the screen's steps ends creation and goes to the caller.
  void Create();
  // Showing, once the peer has made the window visible: the screen's FormShow.
  void Show();
  // The host's WM_USER+2: PanelMain takes the height, then the width. Nothing
  // else changes.
  void HostResize(int32_t height, int32_t width);
  // Closing: the host is notified first and has handled the notification
  // before anything else of the close happens; then the screen's FormClose
  // runs, and the form asks to be destroyed once the messages already queued
  // for it have been handled (OnRelease). The host has been told the screen is
  // gone, so the release is asked for even when FormClose fails. A form that
  // has closed does not close again.
  void Close();
  bool closed() const { return closed_; }

  // Set by the peer: destroy the form after the messages already queued for it.
  std::function<void()> OnRelease;

 protected:
  Platform& platform() const { return platform_; }
  const PluginContext& context() const { return context_; }

  // The screen's own handlers; each runs after the base form's part.
  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormClose() {}

 private:
  void RequestRelease();

  Platform& platform_;
  const PluginContext& context_;
  std::string caption_;
  BasePanel panel_main_{kPanelMainDesignWidth, kPanelMainDesignHeight};
  WindowHandle window_ = 0;
  std::string host_map_text_;
  bool closed_ = false;
};

}  // namespace tarnvex
