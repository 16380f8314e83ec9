#include "plugin/win32/form_windows.h"

#include <cstdint>
#include <exception>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "embedding/host_messages.h"
#include "widgets/win32/creation_calls.h"
#include "widgets/event_guard.h"
#include "widgets/win32/last_error.h"
#include "widgets/win32/wide_text.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

namespace {

constexpr wchar_t kFormClassName[] = L"TarnvexForm";
constexpr wchar_t kPanelClassName[] = L"TarnvexPanel";

}  // namespace

// The Win32 peer of one form: turns window messages into the form's input
// methods and renders PanelMain. Once made, it is owned by its window and
// deleted after WM_NCDESTROY, but never while one of its messages is still
// being handled further up the stack (the host may destroy the parent window
// while it handles the close notification that the form is sending).
class FormWindow : public WindowBase {
 public:
  FormWindow(FormWindows& windows, std::unique_ptr<BaseForm> form, Platform& platform,
             FormViewFactory make_view)
      : windows_(windows),
        form_(std::move(form)),
        platform_(platform),
        make_view_(std::move(make_view)) {}

  // Makes the window; from then on the window owns this object. Throws what
  // made the window fail: std::system_error, or the error of making the
  // view, which has not been shown.
  static HWND Open(std::unique_ptr<FormWindow> peer, const wchar_t* caption);

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  void Destroyed(HWND window) override;
  void Released() override {
    if (owned_by_window_) delete this;
  }
  bool OnCreate();
  bool MakeView();
  void OnHostResize(WPARAM height, LPARAM width);
  void OnShowForm();
  WindowHandle owner() const { return reinterpret_cast<WindowHandle>(window()); }
  void Render() {
    if (view_ != nullptr) view_->Render();
  }

  FormWindows& windows_;
  std::unique_ptr<BaseForm> form_;
  Platform& platform_;
  FormViewFactory make_view_;
  // Gone with this object; the view's inputs check it before rendering, since
  // an input may end with the window and this object destroyed.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  // Declared after the form: the peers go first, while their controls exist.
  std::unique_ptr<FormView> view_;
  std::unique_ptr<WindowBase> panel_;
  // Why the window could not be made, for Open to throw.
  std::exception_ptr creation_error_;
  bool owned_by_window_ = false;
};

// PanelMain's window: it holds the peers and reflects their notifications.
class PanelWindow : public WindowBase {
 public:
  PanelWindow(HINSTANCE instance, HWND form_window, const BasePanel& panel) {
    CreateBound(0, kPanelClassName, nullptr,
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                {0, 0, panel.width(), panel.height()}, form_window, instance);
  }

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override {
    LRESULT result = 0;
    if (ReflectToChild(window(), message, w_param, l_param, result)) return result;
    return Default(message, w_param, l_param);
  }
};

HWND FormWindow::Open(std::unique_ptr<FormWindow> peer, const wchar_t* caption) {
  // The form keeps the size that filling the work area gives it; only PanelMain
  // follows the host's window.
  RECT work_area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);
  try {
    peer->CreateBound(0, kFormClassName, caption, WS_POPUP | WS_CLIPCHILDREN, work_area, nullptr,
                      peer->windows_.instance_);
  } catch (const std::system_error&) {
    if (peer->creation_error_) std::rethrow_exception(peer->creation_error_);
    throw;
  }
  FormWindow* owned = peer.release();
  owned->owned_by_window_ = true;
  return owned->window();
}

LRESULT FormWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case kHostResizeMessage:
      OnHostResize(w_param, l_param);
      return 0;
    case kShowFormMessage:
      OnShowForm();
      return 0;
    case WM_CLOSE:
      // Closing is the form's business; DefWindowProc would destroy the window
      // at once, before the close steps and the queued messages.
      GuardEvent(platform_, owner(), "关闭" + form_->caption(), [&] { form_->Close(); });
      return 0;
    case kReleaseFormMessage:
      DestroyWindow(window());
      return 0;
    default:
      if (((message >= kFirstViewMessage && message < 0xC000) || message == WM_TIMER) &&
          view_ != nullptr && view_->Handle(message, w_param, l_param)) {
        return 0;
      }
      return Default(message, w_param, l_param);
  }
}

void FormWindow::OnHostResize(WPARAM height, LPARAM width) {
  // Both values are signed 32-bit, whatever the width of WPARAM.
  GuardEvent(platform_, owner(), "调整" + form_->caption(),
             [&] { form_->HostResize(static_cast<int32_t>(height), static_cast<int32_t>(width)); });
  Render();
}

void FormWindow::OnShowForm() {
  SetWindowPos(window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  GuardEvent(platform_, owner(), "显示" + form_->caption(), [&] { form_->Show(); });
  Render();
}

bool FormWindow::OnCreate() {
  // No exception leaves the window procedure: one that ends the creation is
  // kept for Open, which reports it once.
  try {
    BasePanel& panel = form_->PanelMain();
    panel_ = std::make_unique<PanelWindow>(windows_.instance_, window(), panel);
    panel.OnPeerResize = [this] {
      BasePanel& resized = form_->PanelMain();
      if (panel_ != nullptr && panel_->window() != nullptr) {
        SetWindowPos(panel_->window(), nullptr, 0, 0, resized.width(), resized.height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    };
    form_->OnRelease = [this] {
      if (window() != nullptr) PostMessageW(window(), kReleaseFormMessage, 0, 0);
    };
    windows_.open_.push_back(window());
    form_->set_window(owner());
    if (!MakeView()) return false;
  } catch (...) {
    creation_error_ = std::current_exception();
    return false;
  }
  GuardEvent(platform_, owner(), "打开" + form_->caption(), [&] { form_->Create(); });
  Render();
  return true;
}

bool FormWindow::MakeView() {
  if (!make_view_) return true;
  PeerSite site;
  site.instance = windows_.instance_;
  site.parent = panel_->window();
  site.boxes = &platform_;
  site.owner = owner();
  site.changed = [this, alive = std::weak_ptr<bool>(alive_)] {
    if (!alive.expired()) Render();
  };
  view_ = make_view_(site, window());
  return true;
}

void FormWindow::Destroyed(HWND window) {
  // A form that is still running (closing) carries on without a window and
  // shows its boxes without an owner.
  std::erase(windows_.open_, window);
  panel_.reset();
  form_->set_window(0);
}

FormWindows::FormWindows(HINSTANCE instance)
    : instance_(instance),
      peer_classes_(instance),
      form_class_(instance, kFormClassName, WindowBase::Procedure, COLOR_BTNFACE),
      panel_class_(instance, kPanelClassName, WindowBase::Procedure, COLOR_BTNFACE) {}

FormWindows::~FormWindows() {
  // Destroying a window removes it from open_: work on a copy.
  std::vector<HWND> still_open = open_;
  for (HWND window : still_open) DestroyWindow(window);
}

HWND FormWindows::Open(std::unique_ptr<BaseForm> form, Platform& platform,
                       FormViewFactory make_view) {
  const std::wstring caption = ToWide(form->caption());
  return FormWindow::Open(
      std::make_unique<FormWindow>(*this, std::move(form), platform, std::move(make_view)),
      caption.c_str());
}

}  // namespace tarnvex
