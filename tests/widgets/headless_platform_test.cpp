#include "widgets/headless/headless_platform.h"

#include <gtest/gtest.h>

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

  ASSERT_EQ(platform.shown_boxes().size(), 4u);
  const MessageBoxRequest& first = platform.shown_boxes()[0];
  EXPECT_EQ(first.owner, WindowHandle{7});
  EXPECT_EQ(first.text, "确定要删除吗？");
  EXPECT_EQ(first.caption, "提示");
  EXPECT_EQ(first.icon, MessageIcon::kQuestion);
  EXPECT_EQ(first.buttons, MessageButtons::kYesNo);
}

}  // namespace
}  // namespace tarnvex
