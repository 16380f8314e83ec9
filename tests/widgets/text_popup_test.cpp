// A text popup: where it stands, how big it is, and what closes it.

#include "widgets/text_popup.h"

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

TEST(TextPopupBoundsTest, PlacesAndSizesTheWindowFromTheTextAndTheScreen) {
  const struct {
    const char* what;
    Size text;
    Size screen;
    int32_t x_pos;
    int32_t y_pos;
    Rect bounds;
  } kCases[] = {
      {"centred text extent", {100, 50}, {800, 600}, 0, 0, {350, 275, 140, 80}},
      {"odd remainders truncate", {101, 51}, {800, 600}, 0, 0, {349, 274, 141, 81}},
      {"left edge given", {100, 50}, {800, 600}, 100, 0, {100, 275, 140, 80}},
      {"top edge given", {100, 50}, {800, 600}, 0, 7, {350, 7, 140, 80}},
      {"negative positions used as they are", {100, 50}, {800, 600}, -30, -1, {-30, -1, 140, 80}},
      {"text wider than the screen", {901, 50}, {800, 600}, 0, 0, {-50, 275, 941, 80}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(TextPopupBounds(c.text, c.screen, c.x_pos, c.y_pos), c.bounds) << c.what;
  }
}

TEST(TextPopupTest, PrepareUsesItsOwnPositionAndArmsTheTimerOnlyForAPositiveTime) {
  const struct {
    int32_t time_close;
    bool armed;
  } kCases[] = {{0, false}, {-5, false}, {2000, true}};
  for (const auto& c : kCases) {
    TextPopup popup;
    popup.xPos = 10;
    popup.TimeClose = c.time_close;
    popup.Prepare({1024, 768}, {200, 100});
    EXPECT_EQ(popup.bounds(), (Rect{10, 334, 240, 130}));
    EXPECT_EQ(popup.Timer1.enabled(), c.armed) << c.time_close;
    if (c.armed) {
      EXPECT_EQ(popup.Timer1.interval(), 2000u);
    }
  }
}

TEST(TextPopupTest, TextJoinsTheLinesWithLineBreaks) {
  TextPopup popup;
  popup.Lines = {"快捷键指南", "", "     F1      : 帮助"};
  EXPECT_EQ(popup.Text(), "快捷键指南\r\n\r\n     F1      : 帮助");
}

class TextPopupClosingTest : public ::testing::Test {
 protected:
  TextPopupClosingTest() {
    popup_.Lines = {"a"};
    popup_.OnClose = [this] { ++closes_; };
  }

  TextPopup popup_;
  int closes_ = 0;
};

TEST(TextPopupTest, AKeyAMouseButtonOrTheTimerClosesItOnceAndReleasesTheLines) {
  const struct {
    const char* what;
    void (*event)(TextPopup&);
  } kEvents[] = {
      {"key", [](TextPopup& popup) { popup.FormKeyDown(kKeyEscape); }},
      {"mouse", [](TextPopup& popup) { popup.FormMouseDown(); }},
      {"timer", [](TextPopup& popup) { popup.Timer1Timer(); }},
  };
  for (const auto& e : kEvents) {
    TextPopup popup;
    popup.Lines = {"a"};
    int closes = 0;
    popup.OnClose = [&closes] { ++closes; };
    e.event(popup);
    e.event(popup);
    EXPECT_TRUE(popup.closed()) << e.what;
    EXPECT_EQ(closes, 1) << e.what;
    EXPECT_TRUE(popup.Lines.empty()) << e.what;
  }
}

TEST_F(TextPopupClosingTest, TheArmedTimerClosesItAndADisabledOneDoesNot) {
  popup_.Prepare({800, 600}, {10, 10});
  popup_.Timer1.Elapse();
  EXPECT_FALSE(popup_.closed());

  popup_.TimeClose = 2000;
  popup_.Prepare({800, 600}, {10, 10});
  popup_.Timer1.Elapse();
  EXPECT_TRUE(popup_.closed());
  EXPECT_EQ(closes_, 1);
  EXPECT_FALSE(popup_.Timer1.enabled());
}

}  // namespace
}  // namespace tarnvex
