#include "plugin/win32/form_windows.h"

#include <cstdint>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "embedding/host_messages.h"
#include "plugin/win32/dialog_window.h"
#include "plugin/win32/popup_windows.h"
#include "widgets/win32/event_guard.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

constexpr wchar_t kFormClassName[] = L"TarnvexForm";
constexpr wchar_t kPanelClassName[] = L"TarnvexPanel";

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

}  // namespace

// The Win32 peer of one form: turns window messages into the form's input
// methods and renders PanelMain. It is bound to its window at WM_NCCREATE and
// deleted after WM_NCDESTROY, but never while one of its messages is still
// being handled further up the stack (the host may destroy the parent window
// while it handles the close notification that the form is sending).
class FormWindow {
 public:
  FormWindow(FormWindows& windows, std::unique_ptr<TFrmBase> form, Platform& platform,
             FormViewFactory make_view)
      : windows_(windows),
        form_(std::move(form)),
        platform_(platform),
        make_view_(std::move(make_view)) {}

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

  // Set once CreateWindowExW has returned: from then on the window owns this
  // object. A window that fails during its creation leaves it to Open.
  void TakeOwnership() { owned_by_window_ = true; }

 private:
  LRESULT Handle(HWND window, UINT message, WPARAM w_param, LPARAM l_param);
  bool Create(HWND window);
  void Destroyed(HWND window);
  WindowHandle owner() const { return reinterpret_cast<WindowHandle>(window_); }
  void Render() {
    if (view_ != nullptr) view_->Render();
  }

  FormWindows& windows_;
  std::unique_ptr<TFrmBase> form_;
  Platform& platform_;
  FormViewFactory make_view_;
  // Gone with this object; the view's inputs check it before rendering, since
  // an input may end with the window and this object destroyed.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  // Declared after the form: the peers go first, while their controls exist.
  std::unique_ptr<FormView> view_;
  HWND window_ = nullptr;
  HWND panel_ = nullptr;
  int dispatch_depth_ = 0;
  bool owned_by_window_ = false;
};

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(l_param)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w_param, l_param);
  ++self->dispatch_depth_;
  LRESULT result = self->Handle(window, message, w_param, l_param);
  if (--self->dispatch_depth_ == 0 && self->window_ == nullptr && self->owned_by_window_) {
    delete self;
  }
  return result;
}

LRESULT FormWindow::Handle(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_CREATE:
      return Create(window) ? 0 : -1;
    case kHostResizeMessage:
      // Both values are signed 32-bit, whatever the width of WPARAM.
      RunGuarded(platform_, owner(), [&] {
        form_->HostResize(static_cast<int32_t>(w_param), static_cast<int32_t>(l_param));
      });
      Render();
      return 0;
    case kShowFormMessage:
      SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
      RunGuarded(platform_, owner(), [&] { form_->Show(); });
      Render();
      return 0;
    case WM_CLOSE:
      // Closing is the form's business; DefWindowProc would destroy the window
      // at once, before the close steps and the queued messages.
      RunGuarded(platform_, owner(), [&] { form_->Close(); });
      return 0;
    case kReleaseFormMessage:
      DestroyWindow(window);
      return 0;
    case WM_NCDESTROY: {
      LRESULT result = DefWindowProcW(window, message, w_param, l_param);
      Destroyed(window);
      return result;
    }
    default:
      return DefWindowProcW(window, message, w_param, l_param);
  }
}

bool FormWindow::Create(HWND window) {
  BasePanel& panel = form_->PanelMain();
  panel_ = CreateWindowExW(0, kPanelClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
                           WS_CLIPCHILDREN, 0, 0, panel.width(), panel.height(), window, nullptr,
                           windows_.instance_, nullptr);
  if (panel_ == nullptr) return false;
  try {
    panel.OnPeerResize = [this] {
      BasePanel& resized = form_->PanelMain();
      if (panel_ != nullptr) {
        SetWindowPos(panel_, nullptr, 0, 0, resized.width(), resized.height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    };
    form_->OnRelease = [this] {
      if (window_ != nullptr) PostMessageW(window_, kReleaseFormMessage, 0, 0);
    };
    windows_.open_.push_back(window);
  } catch (...) {
    // Out of memory inside a window procedure: the window is not made.
    return false;
  }
  form_->set_window(owner());
  if (make_view_) {
    PeerSite site;
    site.instance = windows_.instance_;
    site.parent = panel_;
    site.boxes = &platform_;
    site.owner = owner();
    site.changed = [this, alive = std::weak_ptr<bool>(alive_)] {
      if (!alive.expired()) Render();
    };
    try {
      view_ = make_view_(site, window);
    } catch (const std::exception& error) {
      ShowUnhandledError(platform_, owner(), error.what());
      return false;
    }
  }
  RunGuarded(platform_, owner(), [&] { form_->Create(); });
  Render();
  return true;
}

void FormWindow::Destroyed(HWND window) {
  // Stop dispatching to this object; a form that is still running (closing)
  // carries on without a window and shows its boxes without an owner.
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  std::erase(windows_.open_, window);
  window_ = nullptr;
  panel_ = nullptr;
  form_->set_window(0);
}

FormWindows::FormWindows(HINSTANCE instance)
    : instance_(instance),
      peer_classes_(instance),
      form_class_(instance, kFormClassName, FormWindow::Procedure, COLOR_BTNFACE),
      panel_class_(instance, kPanelClassName, ReflectingProcedure, COLOR_BTNFACE),
      // No background: the guide leaves the screen beneath where it paints nothing.
      guide_class_(instance, PopupWindows::kGuideClassName, PopupWindows::GuideProcedure, -1),
      busy_class_(instance, PopupWindows::kBusyClassName, DefWindowProcW, COLOR_BTNFACE),
      dialog_class_(instance, kDialogClassName, DialogProcedure, COLOR_BTNFACE) {}

FormWindows::~FormWindows() {
  // Destroying a window removes it from open_: work on a copy.
  std::vector<HWND> still_open = open_;
  for (HWND window : still_open) DestroyWindow(window);
}

HWND FormWindows::Open(std::unique_ptr<TFrmBase> form, Platform& platform,
                       FormViewFactory make_view) {
  std::wstring caption = ToWide(form->caption());
  auto peer = std::make_unique<FormWindow>(*this, std::move(form), platform,
                                           std::move(make_view));
  // The form keeps the size that filling the work area gives it; only PanelMain
  // follows the host's window.
  RECT work_area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);
  HWND window = CreateWindowExW(0, kFormClassName, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN,
                                work_area.left, work_area.top, work_area.right - work_area.left,
                                work_area.bottom - work_area.top, nullptr, nullptr, instance_,
                                peer.get());
  if (window == nullptr) ThrowLastError("CreateWindowExW");
  peer.release()->TakeOwnership();
  return window;
}

}  // namespace tarnvex
