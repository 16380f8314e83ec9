// Showing the shortcut guide: the copies each showing makes, the popup's life,
// and the component without lines.

#include "popups/shortcut_guide.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "widgets/headless/headless_platform.h"

namespace tarnvex {
namespace {

using ::testing::ElementsAre;

// The headless platform, measuring every character as 6 × 12 pixels and
// recording what it shows; it closes the popup with a key while "showing" it,
// as an operator would.
class FakeDisplay : public HeadlessPlatform {
 public:
  Size MeasureText(const Font& font, std::string_view text) override {
    measured_fonts.push_back(font.name);
    int lines = 1;
    int widest = 0;
    int width = 0;
    for (char c : text) {
      if (c == '\n') {
        ++lines;
        width = 0;
      } else if (c != '\r') {
        widest = std::max(widest, width += 6);
      }
    }
    return {widest, lines * 12};
  }

  void ShowModal(WindowHandle owner, TextPopup& popup) override {
    shown.push_back(&popup);
    owners.push_back(owner);
    bounds.push_back(popup.bounds());
    if (fail) throw std::runtime_error("paint failed");
    HeadlessPlatform::ShowModal(owner, popup);
  }

  std::vector<std::string> measured_fonts;
  std::vector<TextPopup*> shown;
  std::vector<WindowHandle> owners;
  std::vector<Rect> bounds;
  bool fail = false;
};

class ShortcutGuideTest : public ::testing::Test {
 protected:
  ShortcutGuideTest() {
    guide_.Lines = {"快捷键指南", "", "     ESC     : 退出"};
    guide_.font = Font{"宋体", -12, kGb2312Charset, 0x000000};
    guide_.brush = Brush{0x00FFFF, BrushStyle::kSolid};
    guide_.xPos = 100;
  }

  ShortcutGuide guide_;
  static constexpr WindowHandle kOwner = 0x42;
  FakeDisplay display_;
};

TEST_F(ShortcutGuideTest, EachShowingPreparesAFreshPopupFromCopiesAndDestroysIt) {
  guide_.Execute(display_, kOwner);
  ASSERT_EQ(display_.shown.size(), 1u);
  EXPECT_EQ(guide_.popup(), nullptr);

  // The fake measures 6 pixels a byte; the key line is the widest, three lines.
  const int text_width = static_cast<int>(guide_.Lines[2].size()) * 6;
  EXPECT_THAT(display_.bounds, ElementsAre(Rect{100, (768 - 36) / 2, text_width + 40, 36 + 30}));
  EXPECT_THAT(display_.owners, ElementsAre(kOwner));
  EXPECT_THAT(display_.measured_fonts, ElementsAre("宋体"));
  EXPECT_TRUE(display_.shown_boxes().empty());
  EXPECT_THAT(display_.shown_popups(), ElementsAre("快捷键指南\r\n\r\n     ESC     : 退出"));
  // Closing released the popup's copies; the component's own settings stay.
  EXPECT_EQ(guide_.Lines.size(), 3u);
  EXPECT_EQ(guide_.brush.colour, 0x00FFFFu);

  guide_.Execute(display_, kOwner);
  EXPECT_EQ(display_.shown.size(), 2u);
  EXPECT_EQ(guide_.popup(), nullptr);
}

TEST_F(ShortcutGuideTest, ThePopupCarriesTheComponentsSettingsWhileShowing) {
  class Inspecting : public FakeDisplay {
   public:
    explicit Inspecting(const ShortcutGuide& guide) : guide_(guide) {}
    void ShowModal(WindowHandle /*owner*/, TextPopup& popup) override {
      EXPECT_EQ(guide_.popup(), &popup);
      EXPECT_EQ(popup.Lines, guide_.Lines);
      EXPECT_EQ(popup.font.name, guide_.font.name);
      EXPECT_EQ(popup.brush, guide_.brush);
      EXPECT_EQ(popup.TimeClose, 1500);
      EXPECT_TRUE(popup.Timer1.enabled());
      popup.Timer1.Elapse();
      EXPECT_TRUE(popup.closed());
    }

   private:
    const ShortcutGuide& guide_;
  } display(guide_);
  guide_.TimeClose = 1500;
  guide_.Execute(display, kOwner);
  EXPECT_EQ(guide_.popup(), nullptr);
}

TEST_F(ShortcutGuideTest, AFailedShowingStillClearsThePopupReference) {
  display_.fail = true;
  EXPECT_THROW(guide_.Execute(display_, kOwner), std::runtime_error);
  EXPECT_EQ(guide_.popup(), nullptr);
}

TEST_F(ShortcutGuideTest, WithoutLinesItShowsTheErrorBoxAndNoPopup) {
  guide_.Lines.clear();
  guide_.Execute(display_, kOwner);
  EXPECT_TRUE(display_.shown.empty());
  EXPECT_EQ(display_.shown_boxes(),
            (std::vector<MessageBoxRequest>{{.owner = 0,
                                             .text = "The Lines is empty",
                                             .caption = "Error",
                                             .icon = MessageIcon::kNone,
                                             .buttons = MessageButtons::kOk}}));
}

}  // namespace
}  // namespace tarnvex
