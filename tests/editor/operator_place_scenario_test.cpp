// The operator's place across what reloads everything: after a save, a
// refresh or a delete the tree's node, the item and vehicle-type rows, the
// current columns, the view and the focus are where they were, wherever they
// still exist.

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/grid_columns.h"
#include "editor/subsidy_set_form.h"
#include "support/editor_scenario.h"
#include "text/trim.h"

namespace tarnvex {
namespace {

using ::testing::Contains;
using testing::DialectScenario;

class OperatorPlace : public DialectScenario {
 protected:
  // The tree node with the text (an item's node: its code), or null.
  static TreeNode* Node(TfrmSubsidySet& editor, const std::string& text) {
    TreeNode* root = editor.TreeNT.FirstNode();
    if (root == nullptr) return nullptr;
    for (const auto& category : root->children()) {
      if (Trim(category->text()) == text) return category.get();
      for (const auto& item : category->children()) {
        if (item->text().rfind(text + " ", 0) == 0) return item.get();
      }
    }
    return nullptr;
  }

  static int RowOf(const ColumnGrid& grid, const std::string& code) {
    for (int row = 1; row < grid.RowCount(); ++row) {
      if (grid.Cells(0, row) == code) return row;
    }
    return 0;
  }

  static std::string CurrentItem(const TfrmSubsidySet& editor) {
    return editor.cgdArc.Cells(kItemGridCodeColumn, editor.cgdArc.Row());
  }
  static std::string CurrentType(const TfrmSubsidySet& editor) {
    return editor.cgdType.Cells(kVehicleGridCodeColumn, editor.cgdType.Row());
  }
};

TEST_P(OperatorPlace, ASaveKeepsTheNodeRowsColumnViewAndFocus) {
  TfrmSubsidySet& editor = Open();
  editor.TreeNT.Select(Node(editor, "计件"));
  editor.cgdArc.ClickCell(kItemGridNameColumn, RowOf(editor.cgdArc, "02"));
  const int column = kVehicleGridLastNumberColumn;
  Type(editor.cgdType, column, RowOf(editor.cgdType, "04"), "12.5");
  // Enter went on to the next cell; the operator comes back to this one.
  editor.cgdType.MoveTo(column, RowOf(editor.cgdType, "04"));
  editor.Screen.SetFocus(editor.cgdType);
  const int scroll_x = editor.cgdType.ScrollX();
  ASSERT_GT(scroll_x, 0) << "the last column lies past the first screen";
  harness_.TakeBoxes();

  Save(editor);
  EXPECT_THAT(harness_.TakeBoxTexts(), Contains("保存成功"));
  EXPECT_DOUBLE_EQ(StoredParameter("f_jtxe", "02", "04"), 12.5);
  EXPECT_EQ(Trim(editor.TreeNT.selected()->text()), "计件");
  EXPECT_EQ(CurrentItem(editor), "02");
  EXPECT_EQ(CurrentType(editor), "04");
  EXPECT_EQ(editor.cgdType.Col(), column);
  EXPECT_EQ(editor.cgdType.ScrollX(), scroll_x);
  EXPECT_EQ(editor.cgdType.Cells(column, editor.cgdType.Row()), "12.50");
  EXPECT_EQ(editor.Screen.focused(), &editor.cgdType);
  EXPECT_FALSE(editor.HasUnsavedChanges());

  // And again, from an item's own node: the second save is no different.
  editor.TreeNT.Select(Node(editor, "05"));
  Type(editor.cgdType, kVehicleGridFirstNumberColumn, RowOf(editor.cgdType, "03"), "7");
  editor.cgdType.MoveTo(kVehicleGridFirstNumberColumn, RowOf(editor.cgdType, "03"));
  Save(editor);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jtqd", "05", "03"), 7);
  ASSERT_NE(editor.TreeNT.selected(), nullptr);
  EXPECT_EQ(editor.TreeNT.selected(), Node(editor, "05"));
  EXPECT_EQ(CurrentItem(editor), "05");
  EXPECT_EQ(CurrentType(editor), "03");
  EXPECT_EQ(editor.cgdType.Col(), kVehicleGridFirstNumberColumn);
}

TEST_P(OperatorPlace, ARefreshKeepsTheItemAndColumnAndShowsTheDatabase) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridCategoryColumn, RowOf(editor.cgdArc, "07"));
  editor.Screen.SetFocus(editor.cgdArc);
  database_.Execute("update tbdyjtxmda set f_jtxmmc='别人改的' where f_jtxmbm='07'");

  editor.btnRefresh.Click();
  EXPECT_EQ(editor.TreeNT.selected(), editor.TreeNT.FirstNode());
  EXPECT_EQ(CurrentItem(editor), "07");
  EXPECT_EQ(editor.cgdArc.Col(), kItemGridCategoryColumn);
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, editor.cgdArc.Row()), "别人改的");
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridCodeColumn, 1), "01") << "item 07's parameters";
  EXPECT_EQ(editor.Screen.focused(), &editor.cgdArc);
}

TEST_P(OperatorPlace, ADeleteGoesOnAtTheNextItemElseThePrevious) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridCodeColumn, RowOf(editor.cgdArc, "03"));
  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  editor.TbnDelRow.Click();
  EXPECT_EQ(RowOf(editor.cgdArc, "03"), 0);
  EXPECT_EQ(CurrentItem(editor), "04");

  // The last item of a category: its node goes on at the item before it.
  editor.TreeNT.Select(Node(editor, "计程"));
  editor.cgdArc.ClickCell(kItemGridCodeColumn, RowOf(editor.cgdArc, "11"));
  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  editor.TbnDelRow.Click();
  EXPECT_EQ(Trim(editor.TreeNT.selected()->text()), "计程");
  EXPECT_EQ(CurrentItem(editor), "10");

  // An item's own node, deleted: its category shows.
  editor.TreeNT.Select(Node(editor, "10"));
  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  editor.TbnDelRow.Click();
  EXPECT_EQ(Trim(editor.TreeNT.selected()->text()), "计程");
  EXPECT_EQ(CurrentItem(editor), "09");
}

INSTANTIATE_TEST_SUITE_P(BothDialects, OperatorPlace, testing::kBothDialects, testing::DialectName);

}  // namespace
}  // namespace tarnvex
