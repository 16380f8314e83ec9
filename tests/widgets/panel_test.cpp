#include "widgets/panel.h"

#include <gtest/gtest.h>

#include "widgets/form.h"
#include "widgets/splitter.h"

namespace tarnvex {
namespace {

// The editor's arrangement: a bar on top, a tree on the left with its
// splitter, the rest to a client panel.
class PanelLayout : public ::testing::Test {
 protected:
  PanelLayout() {
    form_.AddChild(panel_);
    panel_.SetBounds({0, 0, 500, 300});
    top_.SetHeight(30);
    top_.SetAlign(Align::kTop);
    left_.SetWidth(100);
    left_.SetAlign(Align::kLeft);
    splitter_.SetWidth(1);
    splitter_.SetAlign(Align::kLeft);
    splitter_.set_target(&left_);
    client_.SetAlign(Align::kClient);
    panel_.AddChild(client_);
    panel_.AddChild(top_);
    panel_.AddChild(left_);
    panel_.AddChild(splitter_);
  }
  Form form_{"form", "caption"};
  Panel panel_{"panel"};
  Panel top_{"top"};
  Panel left_{"left"};
  Splitter splitter_{"splitter"};
  Panel client_{"client"};
};

TEST_F(PanelLayout, EdgesComeFirstAndTheClientTakesTheRest) {
  EXPECT_EQ(top_.bounds(), (Rect{0, 0, 500, 30}));
  EXPECT_EQ(left_.bounds(), (Rect{0, 30, 100, 270}));
  EXPECT_EQ(splitter_.bounds(), (Rect{100, 30, 1, 270}));
  EXPECT_EQ(client_.bounds(), (Rect{101, 30, 399, 270}));
  panel_.SetBounds({0, 0, 600, 200});
  EXPECT_EQ(client_.bounds(), (Rect{101, 30, 499, 170}));
}

TEST_F(PanelLayout, DraggingTheSplitterResizesItsTargetDownToTheMinimum) {
  splitter_.DragBy(50);
  EXPECT_EQ(left_.bounds().width, 150);
  EXPECT_EQ(client_.bounds(), (Rect{151, 30, 349, 270}));
  splitter_.DragBy(-500);
  EXPECT_EQ(left_.bounds().width, Splitter::kMinSize);
}

// A splitter on any edge grows its target when dragged towards the middle;
// one on the client area or unaligned changes nothing.
TEST(SplitterDrag, EachEdgeGrowsItsTargetTowardsTheMiddle) {
  const struct {
    Align side;
    int width;
    int height;
  } kCases[] = {{Align::kLeft, 120, 50},   {Align::kRight, 80, 50},   {Align::kTop, 100, 70},
                {Align::kBottom, 100, 30}, {Align::kClient, 100, 50}, {Align::kNone, 100, 50}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.side));
    Panel target{"target"};
    target.SetBounds({0, 0, 100, 50});
    Splitter splitter{"splitter"};
    splitter.SetAlign(c.side);
    splitter.set_target(&target);
    splitter.DragBy(20);
    EXPECT_EQ(target.bounds().width, c.width);
    EXPECT_EQ(target.bounds().height, c.height);
  }
}

TEST_F(PanelLayout, ControlsShowOnlyOnAShownFormAndWhileVisible) {
  EXPECT_FALSE(client_.Showing());
  form_.Show();
  EXPECT_TRUE(client_.Showing());
  panel_.SetVisible(false);
  EXPECT_FALSE(client_.Showing());
}

// Tab and Shift+Tab from each control of the order, wrapping at both ends and
// passing over a hidden control; from outside the order to its ends.
TEST_F(PanelLayout, TabMovesTheFocusThroughTheTabOrderSkippingHiddenControls) {
  Panel hidden{"hidden"};
  hidden.SetVisible(false);
  form_.SetTabOrder({&left_, &hidden, &top_, &client_});
  struct Case {
    Control* from;
    bool backwards;
    Control* to;
  };
  const Case cases[] = {
      {&left_, false, &top_},      {&top_, false, &client_},     {&client_, false, &left_},
      {&left_, true, &client_},    {&client_, true, &top_},      {&top_, true, &left_},
      {&splitter_, false, &left_}, {&splitter_, true, &client_},
  };
  for (const Case& c : cases) {
    form_.SetFocus(*c.from);
    form_.FocusNext(c.backwards);
    EXPECT_EQ(form_.focused(), c.to) << c.from->name() << (c.backwards ? " back" : " on");
  }
}

}  // namespace
}  // namespace tarnvex
