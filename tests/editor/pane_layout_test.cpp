#include "editor/pane_layout.h"

#include <gtest/gtest.h>

#include "host/profile_file.h"
#include "support/demo_database.h"
#include "support/editor_harness.h"
#include "support/temp_folder.h"
#include "widgets/panel.h"

namespace tarnvex {
namespace {

// A tree beside its splitter and a grid above its splitter, as on the screen.
TEST(PaneLayoutTest, AStoredSizeThatWouldHideAPaneIsIgnored) {
  struct Case {
    const char* stored;  // nullptr: no key
    int size;            // the pane's size after loading, in a 400-pixel container
  };
  const Case cases[] = {
      {nullptr, 150}, {"200", 200}, {"30", 30},   {"29", 150}, {"370", 370},         {"371", 150},
      {"0", 150},     {"-40", 150}, {"abc", 150}, {"", 150},   {"99999999999", 150},
  };
  testing::TempFolder folder;
  const std::filesystem::path file = folder.path() / "Tarnvexpos.ini";
  for (const Case& c : cases) {
    std::filesystem::remove(file);
    if (c.stored != nullptr) {
      WriteProfileString(file, "panes", "Splitter1", c.stored);
      WriteProfileString(file, "panes", "Splitter2", c.stored);
    }
    Control tree("tree");
    tree.SetWidth(150);
    Splitter beside("Splitter1");
    beside.SetAlign(Align::kLeft);
    beside.set_target(&tree);
    Control grid("grid");
    grid.SetHeight(150);
    Splitter below("Splitter2");
    below.SetAlign(Align::kTop);
    below.set_target(&grid);

    LoadPaneSize(beside, 400, file, "panes");
    LoadPaneSize(below, 400, file, "panes");
    EXPECT_EQ(tree.bounds().width, c.size) << (c.stored ? c.stored : "(none)");
    EXPECT_EQ(grid.bounds().height, c.size) << (c.stored ? c.stored : "(none)");
  }
}

// Sizes left by the splitters are written on close, in their own section
// beside the column layouts, and the next editor starts with them.
TEST(PaneLayoutTest, TheEditorKeepsBothSplittersAcrossACloseAndAStart) {
  testing::DemoDatabase database;
  testing::EditorHarness harness(database.service());
  TfrmSubsidySet& first = harness.Open();
  const int tree_width = first.TreeNT.bounds().width;
  const int grid_height = first.cgdArc.bounds().height;
  first.Splitter1.DragBy(40);
  first.Splitter2.DragBy(-30);
  first.Close();
  const std::filesystem::path file = harness.settings_file();
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySetPanes", "Splitter1", ""),
            std::to_string(tree_width + 40));
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySetPanes", "Splitter2", ""),
            std::to_string(grid_height - 30));
  EXPECT_NE(ReadProfileString(file, "frmSubsidySet1", "项目编码", ""), "")
      << "the column layouts are still written";

  TfrmSubsidySet& second = harness.Open();
  EXPECT_EQ(second.TreeNT.bounds().width, tree_width + 40);
  EXPECT_EQ(second.cgdArc.bounds().height, grid_height - 30);
  EXPECT_TRUE(harness.TakeBoxes().empty());
}

}  // namespace
}  // namespace tarnvex
