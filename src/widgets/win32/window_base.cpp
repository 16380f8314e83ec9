#include "widgets/win32/window_base.h"

#include "widgets/win32/creation_calls.h"
#include "widgets/win32/last_error.h"

namespace tarnvex {

WindowBase::~WindowBase() {
  if (window_ == nullptr) return;
  HWND window = window_;
  Unbind();
  DestroyWindow(window);
}

void WindowBase::Unbind() {
  if (original_ != nullptr &&
      GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProcedure)) {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  window_ = nullptr;
}

void WindowBase::CreateBound(DWORD ex_style, const wchar_t* class_name, const wchar_t* text,
                             DWORD style, const RECT& place, HWND parent, HINSTANCE instance) {
  if (Creation().create_window(ex_style, class_name, text, style, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, parent, nullptr,
                               instance, this) == nullptr) {
    ThrowLastError("CreateWindowExW");
  }
}

void WindowBase::CreateSubclassed(DWORD ex_style, const wchar_t* class_name, const wchar_t* text,
                                  DWORD style, const RECT& place, HWND parent, HINSTANCE instance) {
  HWND window = Creation().create_window(ex_style, class_name, text, style, place.left, place.top,
                                         place.right - place.left, place.bottom - place.top, parent,
                                         nullptr, instance, nullptr);
  if (window == nullptr) ThrowLastError("CreateWindowExW");
  // Subclassed through the window's own procedure slot, not SetWindowSubclass:
  // the common controls' subclass chain looks itself up in a window property
  // on every message, and under Wine each lookup is a round trip to the
  // server, a dozen of them per keystroke. GWLP_USERDATA is the
  // application's, never the system control's.
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetLastError(ERROR_SUCCESS);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProcedure)));
  if (original_ == nullptr) {
    const DWORD error = GetLastError();
    DestroyWindow(window);
    SetLastError(error);
    ThrowLastError("SetWindowLongPtrW");
  }
  window_ = window;
}

LRESULT WindowBase::Default(UINT message, WPARAM w_param, LPARAM l_param) {
  return original_ != nullptr ? CallWindowProcW(original_, window_, message, w_param, l_param)
                              : DefWindowProcW(window_, message, w_param, l_param);
}

LRESULT WindowBase::Dispatch(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  ++depth_;
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    // The subclass goes before the window's own handling, as the common
    // controls ask; the class's procedure still gets the message.
    const WNDPROC original = original_;
    Unbind();
    result = original != nullptr ? CallWindowProcW(original, window, message, w_param, l_param)
                                 : DefWindowProcW(window, message, w_param, l_param);
    Destroyed(window);
  } else {
    result = Handle(message, w_param, l_param);
  }
  // Released may delete this object: nothing of it is touched afterwards.
  if (--depth_ == 0 && window_ == nullptr) Released();
  return result;
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  if (message == WM_NCCREATE) {
    auto* created =
        static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(l_param)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    created->window_ = window;
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w_param, l_param);
  return self->Dispatch(window, message, w_param, l_param);
}

LRESULT CALLBACK WindowBase::SubclassProcedure(HWND window, UINT message, WPARAM w_param,
                                               LPARAM l_param) {
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w_param, l_param);
  return self->Dispatch(window, message, w_param, l_param);
}

}  // namespace tarnvex
