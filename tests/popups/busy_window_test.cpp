// The busy window: its frame without caption bar, where the animation and the
// text stand, and its place on the screen.

#include "popups/busy_window.h"

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

constexpr FrameMetrics kMetrics{19, 4, 4};

TEST(BusyWindowTest, LosesItsCaptionBarAndKeepsItsClientArea) {
  BusyWindow hint;
  hint.FormCreate(kMetrics, false);
  EXPECT_EQ(hint.frame().style & kStyleCaption, kStyleBorder);
  EXPECT_NE(hint.frame().style & kStyleThickFrame, 0u);
  EXPECT_EQ(hint.width() - 2 * kMetrics.frame_width, BusyWindow::kClientWidth);
  EXPECT_EQ(hint.frame().height - 2 * kMetrics.frame_height, BusyWindow::kClientHeight);
}

TEST(BusyWindowTest, PlacesAnimationAndTextByWhetherTheAnimationFileExists) {
  const struct {
    bool file_exists;
    const char* file_name;
    Rect animation;
    Rect label;
  } kCases[] = {
      {false, "", {16, 20, 80, 50}, {116, 40, 133, 14}},
      {true, "Resource\\Turtle.avi", {32, 2, 80, 50}, {93, 69, 133, 14}},
  };
  for (const auto& c : kCases) {
    BusyWindow hint;
    hint.FormCreate(kMetrics, c.file_exists);
    EXPECT_EQ(hint.Animate1.file_name, c.file_name);
    EXPECT_EQ(hint.Animate1.bounds, c.animation);
    EXPECT_EQ(hint.Label1.bounds, c.label);
    EXPECT_TRUE(hint.Animate1.active);
    EXPECT_EQ(hint.Label1.Caption, "正在统计，请稍候...");
  }
}

TEST(BusyWindowTest, StandsCentredOnTheScreen) {
  BusyWindow hint;
  hint.FormCreate(kMetrics, false);
  EXPECT_EQ(hint.Placement({1024, 768}), (Rect{(1024 - 340) / 2, (768 - 95) / 2, 340, 95}));
}

}  // namespace
}  // namespace tarnvex
