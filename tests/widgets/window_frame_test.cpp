// Taking the caption bar off a window, by border style.

#include "widgets/window_frame.h"

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

constexpr uint32_t kOther = 0x10000000;  // a bit no rule touches (WS_VISIBLE)
constexpr int kCaptionHeight = 19;

TEST(RemoveCaptionBarTest, FollowsTheBorderStyle) {
  const struct {
    const char* what;
    BorderStyle border;
    uint32_t style;
    WindowFrame result;
  } kCases[] = {
      {"single", BorderStyle::kSingle, kStyleCaption | kOther, {kStyleBorder | kOther, 81}},
      {"sizeable keeps its sizing frame",
       BorderStyle::kSizeable,
       kStyleCaption | kStyleThickFrame,
       {kStyleBorder | kStyleThickFrame, 81}},
      {"dialog", BorderStyle::kDialog, kStyleCaption, {kStyleDlgFrame | kStyleModalFrame, 81}},
      {"no border", BorderStyle::kNone, kStyleCaption, {kStyleCaption, 100}},
      {"tool window", BorderStyle::kToolWindow, kStyleCaption, {kStyleCaption, 100}},
      {"sizeable tool window",
       BorderStyle::kSizeToolWindow,
       kStyleCaption | kStyleThickFrame,
       {kStyleCaption | kStyleThickFrame, 100}},
      {"only the thin border bit", BorderStyle::kSizeable, kStyleBorder, {kStyleBorder, 100}},
      {"only the dialog frame bit", BorderStyle::kDialog, kStyleDlgFrame, {kStyleDlgFrame, 100}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(RemoveCaptionBar(c.border, {c.style, 100}, kCaptionHeight), c.result) << c.what;
  }
}

}  // namespace
}  // namespace tarnvex
