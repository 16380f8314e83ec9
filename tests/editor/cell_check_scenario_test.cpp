// Every value checked where it is typed, headless against the stand-in on a
// SQLite file: a parameter is checked as its cell is left, shown in the
// "0.00" form, refused with a message that says where; discarding always
// works; typing, pasting into a cell and block pastes take the same texts.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "support/demo_database.h"
#include "support/editor_scenario.h"
#include "support/grid_columns.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using namespace testing;  // the grids' named columns (support/grid_columns.h)
using testing::EditorScenario;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kBadCell[] = "项目编码“01”车型编码“01”的“津贴起点”不是数字：“1.2.3”";

class CellCheck : public EditorScenario {
 protected:
  // 1.2.3 typed into item 01's first parameter, vehicle type 01.
  void TypeBadNumber() {
    editor_.cgdType.MoveTo(kPieceStartColumn, 1);
    editor_.cgdType.ClickCell(kAllowanceStartColumn, 1);
    editor_.cgdType.TypeText("1.2.3");
  }
  void ExpectStillAtTheBadCell() {
    EXPECT_EQ(editor_.Screen.focused(), &editor_.cgdType);
    EXPECT_EQ(editor_.cgdArc.Row(), 1);
    EXPECT_EQ(editor_.cgdType.Row(), 1);
    EXPECT_EQ(editor_.cgdType.Col(), kAllowanceStartColumn);
    EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 1), "1.2.3");
    EXPECT_TRUE(editor_.cgdType.caret_mode());
    EXPECT_EQ(editor_.cgdType.TextAnchor(), 0u);
    EXPECT_EQ(editor_.cgdType.TextCaret(), 5u);
  }

  TfrmSubsidySet& editor_ = Open();
};

// Refused where it is left, by each way out of the cell; each time the
// message names item, vehicle type and column, and the caret stays.
TEST_F(CellCheck, ANumberThatIsNoneIsRefusedWhereverTheCellIsLeft) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways_out = {
      {"Enter", [&] { editor_.cgdType.PressKey(kKeyReturn); }},
      {"an arrow", [&] { editor_.cgdType.PressKey(kKeyDown); }},
      {"a click on another cell", [&] { editor_.cgdType.ClickCell(kPieceStartColumn, 3); }},
      {"a click on another item", [&] { editor_.cgdArc.ClickCell(kItemGridNameColumn, 2); }},
      {"Tab", [&] { editor_.FormKeyDown(kKeyTab, false); }},
      {"the save", [&] { Save(editor_); }},
  };
  TypeBadNumber();
  for (const auto& [what, leave] : ways_out) {
    SCOPED_TRACE(what);
    leave();
    std::vector<MessageBoxRequest> boxes = harness_.TakeBoxes();
    if (!boxes.empty() && boxes[0].text == "确认要保存吗?") boxes.erase(boxes.begin());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kBadCell);
    EXPECT_EQ(boxes[0].caption, "提示");
    EXPECT_EQ(boxes[0].icon, MessageIcon::kError);
    ExpectStillAtTheBadCell();
  }
  EXPECT_EQ(StoredParameter("f_jtqd", "01", "01"), 10);
  // Esc puts back what the cell held, and the operator moves on.
  editor_.cgdType.PressKey(kKeyEscape);
  EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 1), "10.00");
  editor_.cgdType.PressKey(kKeyDown);
  EXPECT_EQ(editor_.cgdType.Row(), 2);
  EXPECT_FALSE(editor_.HasUnsavedChanges());
}

// A refused cell never keeps the operator from throwing the edits away:
// refresh, exit and delete ask, and No discards; a tree click asks whether
// to give the cell up, and No keeps both the cell and the tree's mark.
TEST_F(CellCheck, DiscardingAlwaysWorksWithARefusedCell) {
  TypeBadNumber();
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  editor_.FormKeyDown('R', true);
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("数据已修改,是否保存?"));
  EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 1), "10.00");
  EXPECT_FALSE(editor_.cgdType.cell_edited());

  TypeBadNumber();
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  editor_.FormKeyDown('D', true);
  EXPECT_THAT(harness_.TakeBoxTexts(),
              ElementsAre("数据已修改,是否保存?", "确认要删除编码为01的津贴项目吗?"));
  EXPECT_EQ(database_.Text("select count(*) from tbdyjtxmda where f_jtxmbm='01'"), "0");

  // Now item 02 is first: its first parameter.
  TypeBadNumber();
  TreeNode* root = editor_.TreeNT.FirstNode();
  TreeNode* category = root->children().front().get();
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  editor_.TreeNT.Select(category);
  EXPECT_THAT(harness_.TakeBoxTexts(),
              ElementsAre("项目编码“02”车型编码“01”的“津贴起点”不是数字：“1.2.3”\n\n"
                          "放弃这个单元格的修改吗?"));
  EXPECT_EQ(editor_.TreeNT.selected(), root);
  EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 1), "1.2.3");
  EXPECT_EQ(editor_.Screen.focused(), &editor_.cgdType);
  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  editor_.TreeNT.Select(category);
  harness_.TakeBoxes();
  EXPECT_EQ(editor_.TreeNT.selected(), category);
  EXPECT_FALSE(editor_.cgdType.cell_edited());
  EXPECT_FALSE(editor_.HasUnsavedChanges());

  TypeBadNumber();
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  editor_.TbnExit.Click();
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("数据已修改,是否保存?"));
  EXPECT_TRUE(editor_.closed());
  EXPECT_EQ(database_.Text("select count(*) from tbdyjtxmlb where f_jtqd=1.23"), "0");
}

// Numbers the database holds and the screen shows whole: the "0.00" form once
// left, blanks trimmed, empty as 0, below 10^12 after rounding to cents.
TEST_F(CellCheck, ANumberLeftIsShownInTheFormItIsSavedIn) {
  // The parameter columns are marked as numbers, which their peer shows as
  // ### when too wide; the others are not.
  EXPECT_TRUE(editor_.cgdType.Column(kAllowanceStartColumn).numbers);
  EXPECT_TRUE(editor_.cgdType.Column(kAllowanceCapColumn).numbers);
  EXPECT_FALSE(editor_.cgdType.Column(kVehicleGridCodeColumn).numbers);
  EXPECT_FALSE(editor_.cgdArc.Column(kItemGridNameColumn).numbers);
  const struct {
    const char* typed;
    const char* shown;  // empty: refused
  } kCases[] = {
      {"12.5", "12.50"},
      {"", "0.00"},
      {"007", "7.00"},
      {".5", "0.50"},
      {"999999999999.99", "999999999999.99"},
      {"999999999999.995", ""},
      {"1000000000000", ""},
      {".", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.typed);
    editor_.cgdType.ClickCell(kAllowanceStartColumn, 2);
    editor_.cgdType.ClickCell(kAllowanceStartColumn, 1);
    // An empty cell: something typed and taken back.
    editor_.cgdType.TypeText(*c.typed == 0 ? "1\b" : c.typed);
    editor_.cgdType.PressKey(kKeyReturn);
    const std::vector<std::string> boxes = harness_.TakeBoxTexts();
    if (*c.shown == 0) {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(editor_.cgdType.Col(), kAllowanceStartColumn);
      editor_.cgdType.PressKey(kKeyEscape);
    } else {
      EXPECT_THAT(boxes, IsEmpty());
      EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 1), c.shown);
    }
  }
}

// Every item has a category: a typed row without one stops the save at its
// category cell, and takes one typed there; an existing item's category is
// changed like any other cell and the tree files it anew.
TEST_F(CellCheck, EveryItemSavedHasACategory) {
  editor_.cgdArc.ClickCell(kItemGridCodeColumn, 12);
  editor_.cgdArc.PressKey(kKeyDown);
  editor_.cgdArc.TypeText("77");
  editor_.cgdArc.PressKey(kKeyReturn);
  editor_.cgdArc.TypeText("没有类别的");
  Save(editor_);
  EXPECT_THAT(harness_.TakeBoxTexts(),
              ElementsAre("确认要保存吗?", "第13行项目编码“77”没有类别,请先填写类别再保存。"));
  EXPECT_EQ(editor_.cgdArc.Row(), 13);
  EXPECT_EQ(editor_.cgdArc.Col(), kItemGridCategoryColumn);
  EXPECT_EQ(editor_.Screen.focused(), &editor_.cgdArc);
  EXPECT_EQ(database_.Text("select count(*) from tbdyjtxmda where f_jtxmbm='77'"), "0");

  // Picked from the list the cell drops down: the tree's categories and the
  // fixed ones.
  editor_.cgdArc.PressKey(kKeyF4);
  ASSERT_TRUE(editor_.cgdArc.dropped_down());
  // Esc closes the list, not the editor.
  EXPECT_FALSE(editor_.FormKeyDown(kKeyEscape, false));
  editor_.cgdArc.PressKey(kKeyEscape);
  EXPECT_FALSE(editor_.cgdArc.dropped_down());
  EXPECT_FALSE(editor_.closed());
  editor_.cgdArc.PressKey(kKeyF4);
  const std::vector<std::string>& list = editor_.cgdArc.Column(kItemGridCategoryColumn).pick_list;
  EXPECT_EQ(list, editor_.CategoryChoices());
  const auto special = std::find(list.begin(), list.end(), "特殊");
  ASSERT_NE(special, list.end());
  editor_.cgdArc.PickItem(static_cast<int>(special - list.begin()));
  EXPECT_EQ(editor_.cgdArc.Cells(kItemGridCategoryColumn, 13), "特殊");
  editor_.cgdArc.ClickCell(kItemGridCategoryColumn, 2);
  editor_.cgdArc.TypeText("计时");
  Save(editor_);
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(database_.Text("select f_lb from tbdyjtxmda where f_jtxmbm='77'"), "特殊");
  EXPECT_EQ(database_.Text("select f_lb from tbdyjtxmda where f_jtxmbm='02'"), "计时");
  std::vector<std::string> filed;
  for (TreeNode* node : editor_.TreeNT.AllNodes()) {
    if (node->level() == 2 &&
        (node->text().starts_with("77 ") || node->text().starts_with("02 "))) {
      filed.push_back(node->parent()->text() + "/" + node->text());
    }
  }
  EXPECT_THAT(filed, ::testing::UnorderedElementsAre("特殊/77 没有类别的", "计时/02 分装拣货补助"));
}

// Typing a text into a cell, pasting it into the cell and pasting it as a
// block take the same texts and refuse the same ones, in every kind of cell
// and row.
TEST_F(CellCheck, TypingAndPastingTakeTheSameTexts) {
  // A new row below the last item, with a code typed but not confirmed.
  editor_.cgdArc.ClickCell(kItemGridCodeColumn, 12);
  editor_.cgdArc.PressKey(kKeyDown);
  editor_.cgdArc.TypeText("77");
  const int new_row = 13;
  struct Case {
    const char* what;
    bool vehicle_grid;
    int col;
    int row;
    std::string text;
    bool taken;
    std::string left = text;  // the cell's text once left
  };
  const std::string name30(30, 'n');
  const Case cases[] = {
      {"a parameter", true, kAllowanceStartColumn, 1, "12.5", true, "12.50"},
      {"a minus sign", true, kAllowanceStartColumn, 1, "-5", false},
      {"a letter", true, kAllowanceStartColumn, 1, "1e3", false},
      {"a vehicle type's name", true, kVehicleGridNameColumn, 1, "车", false},
      {"a name", false, kItemGridNameColumn, 1, "名称", true},
      {"a name of 30 bytes", false, kItemGridNameColumn, 1, name30, true},
      {"a name of 31 bytes", false, kItemGridNameColumn, 1, name30 + "n", false},
      {"a filled row's code", false, kItemGridCodeColumn, 1, "99", false},
      {"a new row's code", false, kItemGridCodeColumn, new_row, "78", true},
      {"a code of 16 bytes", false, kItemGridCodeColumn, new_row, std::string(16, '7'), false},
      {"a filled row's category", false, kItemGridCategoryColumn, 1, "新类", true},
      {"a new row's category", false, kItemGridCategoryColumn, new_row, "新类", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ColumnGrid& grid = c.vehicle_grid ? editor_.cgdType : editor_.cgdArc;
    const std::string before = grid.Cells(c.col, c.row);
    std::vector<std::string> results;
    for (int way = 0; way < 3; ++way) {
      grid.SetCells(c.col, c.row, before);
      grid.MoveTo(c.col == 0 ? 1 : 0, c.row);
      grid.MoveTo(c.col, c.row);
      const int beeps = harness_.platform.beeps();
      if (way == 0) {
        grid.TypeText(c.text);
      } else if (way == 1) {
        grid.Paste(c.text);
      } else {
        harness_.platform.SetClipboardText(c.text);
        grid.PressKey('V', kCtrlHeld);
      }
      const bool refused = harness_.platform.beeps() > beeps || !harness_.TakeBoxes().empty();
      EXPECT_EQ(refused, !c.taken) << "way " << way;
      // Typing takes what fits and beeps at the rest; a paste takes all or
      // nothing. Whatever was taken is as the cell is left.
      if (way == 0 && !c.taken) grid.CancelEdit();
      EXPECT_TRUE(grid.LeaveCell());
      results.push_back(grid.Cells(c.col, c.row));
    }
    if (c.taken) {
      EXPECT_THAT(results, ElementsAre(c.left, c.left, c.left));
    } else {
      EXPECT_THAT(results, ElementsAre(before, before, before));
    }
  }
}

}  // namespace
}  // namespace tarnvex
