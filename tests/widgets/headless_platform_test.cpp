#include "widgets/headless/headless_platform.h"

#include <vector>

#include <gtest/gtest.h>

#include "support/recording_message_boxes.h"

namespace tarnvex {
namespace {

MessageBoxRequest Box(MessageButtons buttons) {
  MessageBoxRequest request;
  request.owner = 7;
  request.text = "确定要删除吗？";
  request.caption = "提示";
  request.icon = MessageIcon::kQuestion;
  request.buttons = buttons;
  return request;
}

TEST(HeadlessPlatform, AnswersFromTheScriptThenWithTheDefaultButton) {
  HeadlessPlatform platform;
  platform.ScriptAnswer(MessageAnswer::kNo);
  platform.ScriptAnswer(MessageAnswer::kCancel);

  EXPECT_EQ(platform.Show(Box(MessageButtons::kYesNo)), MessageAnswer::kNo);
  EXPECT_EQ(platform.Show(Box(MessageButtons::kOkCancel)), MessageAnswer::kCancel);
  EXPECT_EQ(platform.Show(Box(MessageButtons::kYesNoCancel)), MessageAnswer::kYes);
  EXPECT_EQ(platform.Show(Box(MessageButtons::kOk)), MessageAnswer::kOk);

  EXPECT_EQ(platform.shown_boxes(),
            (std::vector<MessageBoxRequest>{
                Box(MessageButtons::kYesNo), Box(MessageButtons::kOkCancel),
                Box(MessageButtons::kYesNoCancel), Box(MessageButtons::kOk)}));
}

}  // namespace
}  // namespace tarnvex
