#include "wine/message_box_watcher.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace tarnvex::testing {

namespace {

MessageBoxWatcher* g_watcher = nullptr;

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer)
    : answer_(answer), hook_(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId())) {
  if (hook_ == nullptr) throw std::runtime_error("SetWindowsHookExW(WH_CBT) failed");
  g_watcher = this;
}

MessageBoxWatcher::~MessageBoxWatcher() {
  UnhookWindowsHookEx(hook_);
  g_watcher = nullptr;
}

LRESULT CALLBACK MessageBoxWatcher::Hook(int code, WPARAM w_param, LPARAM l_param) {
  if (code == HCBT_ACTIVATE && g_watcher != nullptr) {
    HWND window = reinterpret_cast<HWND>(w_param);
    wchar_t class_name[16] = {};
    GetClassNameW(window, class_name, 16);
    std::vector<HWND>& answered = g_watcher->answered_;
    if (std::wstring_view(class_name) == L"#32770" &&
        std::find(answered.begin(), answered.end(), window) == answered.end()) {
      answered.push_back(window);
      HWND text = GetDlgItem(window, 0xFFFF);
      g_watcher->boxes_.push_back({TextOf(window), text ? TextOf(text) : std::wstring()});
      int answer = g_watcher->answer_;
      for (const auto& [box_text, box_answer] : g_watcher->answers_) {
        if (box_text == g_watcher->boxes_.back().text) answer = box_answer;
      }
      PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    }
  }
  return CallNextHookEx(nullptr, code, w_param, l_param);
}

}  // namespace tarnvex::testing
