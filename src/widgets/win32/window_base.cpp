#include "widgets/win32/window_base.h"

#include <commctrl.h>

#include "widgets/win32/creation_calls.h"
#include "widgets/win32/last_error.h"

namespace tarnvex {

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

WindowBase::~WindowBase() {
  if (window_ == nullptr) return;
  HWND window = window_;
  Unbind();
  DestroyWindow(window);
}

void WindowBase::Unbind() {
  if (subclassed_) {
    RemoveWindowSubclass(window_, SubclassProcedure, kSubclassId);
  } else {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  }
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
  if (!SetWindowSubclass(window, SubclassProcedure, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(this))) {
    DestroyWindow(window);
    ThrowLastError("SetWindowSubclass");
  }
  window_ = window;
  subclassed_ = true;
}

LRESULT WindowBase::Default(UINT message, WPARAM w_param, LPARAM l_param) {
  return subclassed_ ? DefSubclassProc(window_, message, w_param, l_param)
                     : DefWindowProcW(window_, message, w_param, l_param);
}

LRESULT WindowBase::Dispatch(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  ++depth_;
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    // The subclass goes before the window's own handling, as the common
    // controls ask; the class's procedure still gets the message.
    const bool subclassed = subclassed_;
    Unbind();
    result = subclassed ? DefSubclassProc(window, message, w_param, l_param)
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
                                               LPARAM l_param, UINT_PTR /*id*/, DWORD_PTR data) {
  return reinterpret_cast<WindowBase*>(data)->Dispatch(window, message, w_param, l_param);
}

}  // namespace tarnvex
