#pragma once

#include <windows.h>

namespace tarnvex {

// The object behind one window, of any kind: a window of a class of ours
// (bound at WM_NCCREATE from the creation parameter) or a system control
// (subclassed once made). Messages go to Handle, whose switch hands each one
// to a small method of its own; from WM_NCDESTROY on nothing reaches the
// object. The window goes with the object: its binding is dropped while the
// window is still valid, then the window is destroyed, so that no message of
// its destruction reaches an object half gone.
class WindowBase {
 public:
  virtual ~WindowBase();
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND window() const { return window_; }
  RECT ClientRect() const {
    RECT client{};
    GetClientRect(window_, &client);
    return client;
  }

  // The window procedure of the classes whose windows are bound to a
  // WindowBase: give it to the class and CreateBound.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

 protected:
  WindowBase() = default;

  // Makes a window of a class registered with Procedure, bound to this
  // object. Throws std::system_error when it cannot be made.
  void CreateBound(DWORD ex_style, const wchar_t* class_name, const wchar_t* text, DWORD style,
                   const RECT& place, HWND parent, HINSTANCE instance);
  // Makes a system control and subclasses it. Throws std::system_error when
  // it cannot be made.
  void CreateSubclassed(DWORD ex_style, const wchar_t* class_name, const wchar_t* text, DWORD style,
                        const RECT& place, HWND parent, HINSTANCE instance);

  virtual LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) = 0;
  // What the window's class does with a message.
  LRESULT Default(UINT message, WPARAM w_param, LPARAM l_param);
  // The window is gone (WM_NCDESTROY has been handled); window was its handle.
  virtual void Destroyed(HWND /*window*/) {}
  // The window is gone and none of its messages is being handled any more:
  // an object that the window owns may delete itself here.
  virtual void Released() {}

 private:
  static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM w_param,
                                            LPARAM l_param);
  // Hands a message to Handle and marks the end of the window.
  LRESULT Dispatch(HWND window, UINT message, WPARAM w_param, LPARAM l_param);
  void Unbind();

  HWND window_ = nullptr;
  // The system control's own procedure, for a subclassed window.
  WNDPROC original_ = nullptr;
  int depth_ = 0;
};

}  // namespace tarnvex
