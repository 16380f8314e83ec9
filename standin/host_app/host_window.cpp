#include "standin/host_app/host_window.h"

#include <system_error>

#include "embedding/host_messages.h"

namespace tarnvex {

namespace {

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

BOOL CALLBACK SendHostResize(HWND child, LPARAM panel) {
  // EnumChildWindows visits every descendant; only the panel's own children
  // are embedded screens.
  HWND parent = reinterpret_cast<HWND>(panel);
  if (GetParent(child) != parent) return TRUE;
  RECT client{};
  GetClientRect(parent, &client);
  SendMessageW(child, kHostResizeMessage, static_cast<WPARAM>(client.bottom - client.top),
               static_cast<LPARAM>(client.right - client.left));
  return TRUE;
}

}  // namespace

HostWindow::HostWindow(HINSTANCE instance, int show_command)
    : main_class_(instance, kMainClassName, MainProcedure, COLOR_APPWORKSPACE),
      panel_class_(instance, kPanelClassName, PanelProcedure, COLOR_BTNFACE) {
  main_ =
      CreateWindowExW(0, kMainClassName, L"tarnvex-host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, 1000, 700, nullptr, nullptr, instance, nullptr);
  if (main_ == nullptr) ThrowLastError("CreateWindowExW(main)");
  RECT client{};
  GetClientRect(main_, &client);
  panel_ = CreateWindowExW(0, kPanelClassName, nullptr,
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                           client.right, client.bottom, main_, nullptr, instance, nullptr);
  if (panel_ == nullptr) {
    DWORD error = GetLastError();
    DestroyWindow(main_);
    throw std::system_error(static_cast<int>(error), std::system_category(),
                            "CreateWindowExW(panel)");
  }
  ShowWindow(main_, show_command);
  UpdateWindow(main_);
}

HostWindow::~HostWindow() {
  if (IsWindow(main_)) DestroyWindow(main_);
}

namespace {

// The main window's property that keeps its focused child while it is inactive.
constexpr wchar_t kFocusProperty[] = L"TarnvexFocusedChild";

}  // namespace

LRESULT CALLBACK HostWindow::MainProcedure(HWND window, UINT message, WPARAM w_param,
                                           LPARAM l_param) {
  switch (message) {
    case WM_SIZE: {
      HWND panel = FindWindowExW(window, nullptr, kPanelClassName, nullptr);
      if (panel != nullptr) {
        MoveWindow(panel, 0, 0, LOWORD(l_param), HIWORD(l_param), TRUE);
      }
      return 0;
    }
    case WM_ACTIVATE: {
      // As a dialog or any Windows main window does: the child that had the
      // keyboard focus when the window was left gets it back on return.
      if (LOWORD(w_param) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) SetPropW(window, kFocusProperty, focus);
        return 0;
      }
      HWND kept = static_cast<HWND>(GetPropW(window, kFocusProperty));
      if (kept != nullptr && IsWindow(kept) && IsChild(window, kept) && !HIWORD(w_param)) {
        SetFocus(kept);
        return 0;
      }
      return DefWindowProcW(window, message, w_param, l_param);
    }
    case kHostClosedMessage:
      // Posted, not done here: the editor is still in the middle of closing.
      PostMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_DESTROY:
      RemovePropW(window, kFocusProperty);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, w_param, l_param);
  }
}

LRESULT CALLBACK HostWindow::PanelProcedure(HWND window, UINT message, WPARAM w_param,
                                            LPARAM l_param) {
  if (message == WM_SIZE) {
    EnumChildWindows(window, SendHostResize, reinterpret_cast<LPARAM>(window));
    return 0;
  }
  return DefWindowProcW(window, message, w_param, l_param);
}

}  // namespace tarnvex
