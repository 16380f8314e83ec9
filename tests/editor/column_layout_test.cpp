#include "editor/column_layout.h"

#include <string>

#include <gtest/gtest.h>

#include "host/profile_file.h"
#include "support/temp_folder.h"

namespace tarnvex {
namespace {

class ColumnLayoutTest : public ::testing::Test {
 protected:
  ColumnLayoutTest() {
    grid_.AddColumn({.header = "项目编码", .width = 60});
    grid_.AddColumn({.header = " ", .width = 0, .visible = false});
  }
  std::filesystem::path file() const { return folder_.path() / "Tarnvexpos.ini"; }

  testing::TempFolder folder_;
  ColumnGrid grid_{"grid"};
};

TEST_F(ColumnLayoutTest, StoredValuesOfAShownColumn) {
  struct Case {
    const char* stored;  // nullptr: no key
    bool visible;
    int width;
  };
  const Case cases[] = {
      {nullptr, true, 60}, {"1,90", true, 90},          {"0,90", false, 90}, {"1,0", true, 60},
      {"1,abc", true, 60}, {"90", false, 90},           {"1,-5", true, 60},  {"1,", true, 60},
      {"2,70", false, 70}, {"1,99999999999", true, 60},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(file());
    if (c.stored != nullptr) WriteProfileString(file(), "frmSubsidySet1", "项目编码", c.stored);
    ColumnGrid grid("grid");
    grid.AddColumn({.header = "项目编码", .width = 60});
    LoadColumnLayout(grid, file(), "frmSubsidySet1");
    EXPECT_EQ(grid.Column(0).visible, c.visible) << (c.stored ? c.stored : "(none)");
    EXPECT_EQ(grid.Column(0).width, c.width) << (c.stored ? c.stored : "(none)");
  }
}

TEST_F(ColumnLayoutTest, AHiddenColumnStaysHidden) {
  WriteProfileString(file(), "frmSubsidySet1", " ", "1,30");
  LoadColumnLayout(grid_, file(), "frmSubsidySet1");
  EXPECT_FALSE(grid_.Column(1).visible);
  EXPECT_EQ(grid_.Column(1).width, 0);
}

TEST_F(ColumnLayoutTest, SaveWritesEveryColumnAndReadsBackTheSame) {
  grid_.SetColumnWidth(0, 75);
  SaveColumnLayout(grid_, file(), "frmSubsidySet2");
  EXPECT_EQ(ReadProfileString(file(), "frmSubsidySet2", "项目编码", ""), "1,75");
  EXPECT_EQ(ReadProfileString(file(), "frmSubsidySet2", " ", ""), "0,0");

  ColumnGrid restored("restored");
  restored.AddColumn({.header = "项目编码", .width = 60});
  LoadColumnLayout(restored, file(), "frmSubsidySet2");
  EXPECT_EQ(restored.Column(0).width, 75);
}

}  // namespace
}  // namespace tarnvex
