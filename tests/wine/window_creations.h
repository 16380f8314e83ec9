#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarnvex::testing {

// The classes of the windows this thread creates while it lives.
class WindowCreations {
 public:
  WindowCreations() {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~WindowCreations() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  WindowCreations(const WindowCreations&) = delete;
  WindowCreations& operator=(const WindowCreations&) = delete;

  bool Created(const std::wstring& class_name) const {
    return std::find(classes_.begin(), classes_.end(), class_name) != classes_.end();
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM w_param, LPARAM l_param) {
    if (code == HCBT_CREATEWND && current_ != nullptr) {
      wchar_t name[64] = {};
      GetClassNameW(reinterpret_cast<HWND>(w_param), name, 64);
      current_->classes_.push_back(name);
    }
    return CallNextHookEx(nullptr, code, w_param, l_param);
  }

  static inline WindowCreations* current_ = nullptr;
  HHOOK hook_;
  std::vector<std::wstring> classes_;
};

}  // namespace tarnvex::testing
