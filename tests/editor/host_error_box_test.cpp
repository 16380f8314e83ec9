#include "editor/host_error_box.h"

#include <vector>

#include <gtest/gtest.h>

#include "support/recording_message_boxes.h"

namespace tarnvex {
namespace {

TEST(ShowHostErrorTest, ShowsOneErrorBoxOwnedByTheWindow) {
  testing::RecordingMessageBoxes boxes;
  ShowHostError(boxes, 0x1234, Variant(VariantArray{0, {Variant(u"a"), Variant(u"b")}}));
  EXPECT_EQ(boxes.shown, (std::vector<MessageBoxRequest>{{.owner = 0x1234,
                                                          .text = "a\r\nb",
                                                          .caption = "错误",
                                                          .icon = MessageIcon::kError,
                                                          .buttons = MessageButtons::kOk}}));
}

}  // namespace
}  // namespace tarnvex
