#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace tarnvex::testing {

// Answers the message boxes that this thread shows and records them, through a
// WH_CBT hook: when a dialog of class #32770 is activated, its caption and its
// text (the static with id 0xFFFF) are read and the answer is posted to it.
// One watcher at a time.
class MessageBoxWatcher {
 public:
  struct Box {
    std::wstring caption;
    std::wstring text;
  };

  explicit MessageBoxWatcher(int answer = IDOK);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  const std::vector<Box>& boxes() const { return boxes_; }
  // Boxes with this text get this answer instead of the watcher's own.
  void Answer(std::wstring text, int answer) { answers_.emplace_back(std::move(text), answer); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM w_param, LPARAM l_param);

  int answer_;
  std::vector<std::pair<std::wstring, int>> answers_;
  HHOOK hook_;
  std::vector<Box> boxes_;
  std::vector<HWND> answered_;  // a box may be activated more than once
};

}  // namespace tarnvex::testing
