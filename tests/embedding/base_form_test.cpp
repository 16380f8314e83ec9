#include "embedding/base_form.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "embedding/host_messages.h"
#include "embedding/plugin_context.h"
#include "widgets/headless/headless_platform.h"

namespace tarnvex {
namespace {

// A screen on the base form that logs its own handlers.
class LoggingScreen : public BaseForm {
 public:
  LoggingScreen(Platform& platform, const PluginContext& context, std::vector<std::string>& log)
      : BaseForm(platform, context, "津贴项目设置"), log_(log) {}

  bool fail_on_close = false;

 protected:
  void FormCreate() override { log_.push_back("screen create: " + host_map_text()); }
  void FormShow() override { log_.push_back("screen show"); }
  void FormClose() override {
    log_.push_back("screen close");
    if (fail_on_close) throw std::runtime_error("layout not saved");
  }

 private:
  std::vector<std::string>& log_;
};

// The close notices sent to the given host windows, in order.
std::vector<HeadlessPlatform::SentMessage> Notices(std::vector<WindowHandle> windows) {
  std::vector<HeadlessPlatform::SentMessage> notices;
  for (WindowHandle window : windows) notices.push_back({window, kHostClosedMessage});
  return notices;
}

class BaseFormTest : public ::testing::Test {
 protected:
  BaseFormTest() {
    context_.Store(kFirstNotify, nullptr, "0001");
    platform_.on_message_sent = [this](const HeadlessPlatform::SentMessage&) {
      log_.push_back("host handled");
    };
    form_.OnRelease = [this] { log_.push_back("release"); };
  }

  static constexpr WindowHandle kFirstNotify = 11;
  HeadlessPlatform platform_;
  PluginContext context_;
  std::vector<std::string> log_;
  LoggingScreen form_{platform_, context_, log_};
};

TEST_F(BaseFormTest, HostResizeSetsPanelMainHeightThenWidth) {
  struct Case {
    int32_t height;
    int32_t width;
    std::vector<std::pair<int32_t, int32_t>> sizes_seen;  // width, height at each change
  };
  const Case cases[] = {
      {300, 500, {{688, 300}, {500, 300}}},
      {300, 500, {}},            // the same size again changes nothing
      {300, 640, {{640, 300}}},  // only the width differs
      {-8, 0, {{640, 0}, {0, 0}}},
  };
  std::vector<std::pair<int32_t, int32_t>> seen;
  form_.PanelMain().OnResize = [&] {
    seen.emplace_back(form_.PanelMain().width(), form_.PanelMain().height());
  };
  for (const Case& c : cases) {
    seen.clear();
    form_.HostResize(c.height, c.width);
    EXPECT_EQ(seen, c.sizes_seen) << c.height << " x " << c.width;
  }
}

TEST_F(BaseFormTest, ClosingNotifiesTheHostBeforeAnythingElseOfTheClose) {
  form_.Close();

  EXPECT_EQ(log_, (std::vector<std::string>{"host handled", "screen close", "release"}));
  EXPECT_EQ(platform_.sent_messages(), Notices({kFirstNotify}));
  EXPECT_TRUE(form_.closed());
}

TEST_F(BaseFormTest, ClosingNotifiesTheControlOfTheLatestEntryCall) {
  context_.Store(22, nullptr, "0002");

  form_.Close();

  EXPECT_EQ(platform_.sent_messages(), Notices({22}));
}

TEST_F(BaseFormTest, AClosedFormDoesNotCloseAgain) {
  form_.Close();
  form_.Close();

  EXPECT_EQ(platform_.sent_messages(), Notices({kFirstNotify}));
  EXPECT_EQ(log_, (std::vector<std::string>{"host handled", "screen close", "release"}));
}

TEST_F(BaseFormTest, AFailedScreenCloseStillReleasesTheForm) {
  form_.fail_on_close = true;

  EXPECT_THROW(form_.Close(), std::runtime_error);

  EXPECT_EQ(log_, (std::vector<std::string>{"host handled", "screen close", "release"}));
}

TEST_F(BaseFormTest, CreationReadsTheHostsSharedMemoryBeforeTheScreensSteps) {
  struct Case {
    bool shared;
    std::string content;
    std::string kept;
  };
  const Case cases[] = {
      {false, "", ""},
      {true, "ABCDEF", "ABC"},
      {true, std::string("A\0BC", 4), "A"},
      {true, "", ""},
  };
  for (const Case& c : cases) {
    HeadlessPlatform platform;
    if (c.shared) platform.SetSharedMemory("TarnmisMapName", c.content);
    std::vector<std::string> log;
    LoggingScreen form(platform, context_, log);

    form.Create();

    EXPECT_EQ(form.host_map_text(), c.kept);
    EXPECT_EQ(log, std::vector<std::string>{"screen create: " + c.kept});
    EXPECT_TRUE(platform.shown_boxes().empty());
  }
}

TEST_F(BaseFormTest, ShowingRunsTheScreensShowHandler) {
  form_.Show();

  EXPECT_EQ(log_, std::vector<std::string>{"screen show"});
}

}  // namespace
}  // namespace tarnvex
