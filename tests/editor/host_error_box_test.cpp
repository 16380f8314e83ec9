#include "editor/host_error_box.h"

#include <gtest/gtest.h>

#include "support/recording_message_boxes.h"

namespace tarnvex {
namespace {

TEST(ShowHostErrorTest, ShowsOneErrorBoxOwnedByTheWindow) {
  testing::RecordingMessageBoxes boxes;
  ShowHostError(boxes, 0x1234, Variant(VariantArray{0, {Variant(u"a"), Variant(u"b")}}));
  ASSERT_EQ(boxes.shown.size(), 1u);
  const MessageBoxRequest& box = boxes.shown[0];
  EXPECT_EQ(box.owner, 0x1234u);
  EXPECT_EQ(box.text, "a\r\nb");
  EXPECT_EQ(box.caption, "错误");
  EXPECT_EQ(box.icon, MessageIcon::kError);
  EXPECT_EQ(box.buttons, MessageButtons::kOk);
}

}  // namespace
}  // namespace tarnvex
