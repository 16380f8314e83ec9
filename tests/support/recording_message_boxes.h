#pragma once

#include <vector>

#include "widgets/message_box.h"

namespace tarnvex::testing {

// Records every box shown and answers with a fixed answer.
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

}  // namespace tarnvex::testing
