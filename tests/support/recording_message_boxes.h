#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "widgets/message_box.h"

namespace tarnvex {

// Prints every field of a box, so that a failed comparison of boxes shows
// which field differs.
inline void PrintTo(const MessageBoxRequest& box, std::ostream* out) {
  *out << "{owner " << box.owner << ", text \"" << box.text << "\", caption \"" << box.caption
       << "\", icon " << static_cast<int>(box.icon) << ", buttons " << static_cast<int>(box.buttons)
       << "}";
}

namespace testing {

// "caption|text" of each box: what the operator read, in order.
inline std::vector<std::string> CaptionsAndTexts(const std::vector<MessageBoxRequest>& boxes) {
  std::vector<std::string> texts;
  for (const MessageBoxRequest& box : boxes) texts.push_back(box.caption + "|" + box.text);
  return texts;
}

// The tests' message boxes: records every box shown and answers with a fixed
// answer.
class RecordingMessageBoxes : public MessageBoxes {
 public:
  explicit RecordingMessageBoxes(MessageAnswer answer = MessageAnswer::kOk) : answer_(answer) {}

  MessageAnswer Show(const MessageBoxRequest& request) override {
    shown.push_back(request);
    return answer_;
  }

  std::vector<MessageBoxRequest> shown;

 private:
  MessageAnswer answer_;
};

}  // namespace testing
}  // namespace tarnvex
