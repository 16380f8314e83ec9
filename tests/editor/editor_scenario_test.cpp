// An operator's session of navigation and editing, headless, against the
// stand-in service on a SQLite file with the demo data.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "host/profile_file.h"
#include "host/sql_dialect.h"
#include "support/demo_database.h"
#include "support/editor_harness.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using ::testing::ElementsAre;
using testing::DemoDatabase;
using testing::EditorHarness;

std::vector<std::string> Codes(const ColumnGrid& grid) {
  return EditorHarness::ColumnTexts(grid, 0);
}

std::vector<int> ShownColumns(const ColumnGrid& grid) {
  std::vector<int> shown;
  for (int col = 0; col < grid.ColumnCount(); ++col) {
    if (grid.Column(col).visible) shown.push_back(col);
  }
  return shown;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> values;
  for (int v = first; v <= last; ++v) values.push_back(v);
  return values;
}

std::vector<int> Join(std::vector<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class EditorScenario : public ::testing::Test {
 protected:
  EditorScenario() : harness_(database_.service()) {}

  TfrmSubsidySet& Open() { return harness_.Open(); }

  // The parameter record of an item for a vehicle type, as the editor holds it.
  double Parameter(TfrmSubsidySet& editor, const std::string& item, const std::string& type,
                   const char* field) {
    EXPECT_TRUE(editor.cdsType.Locate("f_jtxmbm;f_cxbm", {item, type}));
    return std::get<double>(editor.cdsType.Value(field));
  }

  DemoDatabase database_;
  EditorHarness harness_;
};

TEST_F(EditorScenario, StartUpShowsTheTreeAllItemsAndTheFirstItemsParameters) {
  TfrmSubsidySet& editor = Open();
  EXPECT_TRUE(LoadDone);
  EXPECT_TRUE(harness_.TakeBoxes().empty());

  TreeNode* root = editor.TreeNT.FirstNode();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(), "所有类别");
  EXPECT_EQ(editor.TreeNT.selected(), root);
  EXPECT_EQ(editor.Screen.focused(), &editor.TreeNT);
  ASSERT_EQ(root->children().size(), 5u);
  for (TreeNode* node : editor.TreeNT.AllNodes()) EXPECT_TRUE(node->expanded()) << node->text();
  const TreeNode* piece = nullptr;
  for (const auto& category : root->children()) {
    if (category->text() == "计件") piece = category.get();
  }
  ASSERT_NE(piece, nullptr);
  ASSERT_EQ(piece->children().size(), 3u);
  EXPECT_EQ(piece->children()[0]->text(), "01 整件配送补助");
  EXPECT_EQ(piece->children()[0]->level(), 2);
  EXPECT_EQ(piece->children()[0]->image_index(), 19);

  EXPECT_THAT(Codes(editor.cgdArc), ElementsAre("01", "02", "03", "04", "05", "06", "07", "08",
                                                "09", "10", "11", "12"));
  EXPECT_EQ(editor.cgdArc.Cells(1, 2), "分装拣货补助");
  EXPECT_EQ(editor.cgdArc.Cells(3, 2), "Y");   // 计件
  EXPECT_EQ(editor.cgdArc.Cells(10, 2), "Y");  // 分装
  EXPECT_EQ(editor.cgdArc.Cells(4, 2), "N");
  EXPECT_EQ(editor.cgdArc.CellColour(3, 5), 0xA613EC);

  EXPECT_THAT(Codes(editor.cgdType), ElementsAre("01", "02", "03", "04", "05", "06", "07"));
  EXPECT_EQ(editor.cgdType.Cells(1, 1), "金杯面包车");
  EXPECT_EQ(editor.cgdType.Cells(2, 1), "10.00");
  EXPECT_EQ(editor.cgdType.Cells(3, 1), "60.00");
  EXPECT_EQ(editor.cgdType.Cells(30, 1), "160.00");  // f_jtxe
  EXPECT_EQ(editor.cgdType.CellColour(7, 1), 0x7B7004);
  // Item 01 measures by piece only.
  EXPECT_EQ(ShownColumns(editor.cgdType), Join({Range(0, 6), Range(23, 30)}));
  EXPECT_EQ(editor.cgdType.Column(3).width, 80);
  EXPECT_EQ(editor.cgdType.Column(0).width, 64);
}

TEST_F(EditorScenario, TheCrossedColumnsShowTheirOwnFields) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(1, 2);  // item 02: f_fhjt 1, f_jtxe 160 for vehicle type 01
  EXPECT_EQ(editor.cgdType.Cells(29, 1), "1.00");
  EXPECT_EQ(editor.cgdType.Cells(30, 1), "160.00");
  EXPECT_EQ(editor.cgdType.Cells(25, 1), "3.00");
}

TEST_F(EditorScenario, ChoosingCategoryAndItemNodesRefillsBothGrids) {
  TfrmSubsidySet& editor = Open();
  TreeNode* distance = nullptr;
  for (const auto& category : editor.TreeNT.FirstNode()->children()) {
    if (category->text() == "计程") distance = category.get();
  }
  ASSERT_NE(distance, nullptr);

  editor.TreeNT.Select(distance);
  EXPECT_THAT(Codes(editor.cgdArc), ElementsAre("09", "10", "11"));
  EXPECT_EQ(editor.cgdType.Cells(1, 1), "金杯面包车");
  EXPECT_EQ(Codes(editor.cgdType).size(), 7u);
  // Item 09 measures by distance only.
  EXPECT_EQ(ShownColumns(editor.cgdType), Join({Range(0, 2), Range(7, 10), Range(23, 30)}));

  editor.TreeNT.Select(distance->children()[1].get());  // "10 郊县线路补助"
  EXPECT_THAT(Codes(editor.cgdArc), ElementsAre("10"));
  EXPECT_EQ(ShownColumns(editor.cgdType),
            Join({Range(0, 2), Range(7, 10), Range(15, 18), Range(23, 30)}));

  editor.TreeNT.Select(editor.TreeNT.FirstNode());
  EXPECT_EQ(Codes(editor.cgdArc).size(), 12u);
  EXPECT_TRUE(harness_.TakeBoxes().empty());
}

TEST_F(EditorScenario, EditsSurviveMovingBetweenRowsAndNodes) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(3, 1);
  editor.cgdType.TypeText("12.5");
  editor.cgdArc.ClickCell(1, 1);
  editor.cgdArc.TypeText("新名称");
  editor.cgdArc.ClickCell(6, 1);  // 计时 ticked by mouse

  editor.cgdArc.PressKey(kKeyDown);
  EXPECT_EQ(editor.cgdArc.Row(), 2);
  EXPECT_EQ(editor.cgdType.Cells(3, 1), "60.00");  // item 02's own
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jsqd"), 12.5);

  editor.cgdArc.PressKey(kKeyUp);
  EXPECT_EQ(editor.cgdType.Cells(3, 1), "12.50");

  // The item grid reaches cdsArc when another node is chosen.
  editor.TreeNT.Select(editor.TreeNT.FirstNode()->children()[0].get());
  ASSERT_TRUE(editor.cdsArc.Locate("f_jtxmbm", {"01"}));
  EXPECT_EQ(editor.cdsArc.Text("f_jtxmmc"), "新名称");
  EXPECT_EQ(editor.cdsArc.Text("f_js"), "1");
  EXPECT_EQ(editor.cdsArc.Text("f_jj"), "1");
  EXPECT_EQ(editor.cdsArc.Text("f_jc"), "0");
  EXPECT_TRUE(harness_.TakeBoxes().empty());
}

TEST_F(EditorScenario, WriteBackTrimsBlanksStoresEmptyCellsAsZeroAndCrossesColumns29And30) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.SetCells(3, 1, "  7.5 ");
  editor.cgdType.SetCells(4, 1, "");
  editor.cgdType.SetCells(29, 1, "2");
  editor.cgdType.SetCells(30, 1, "300");
  editor.cgdType.SetCells(1, 1, "改了名字");

  editor.cgdArc.PressKey(kKeyDown);

  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jsqd"), 7.5);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jsjc"), 0);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_fhjt"), 2);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jtxe"), 300);
  EXPECT_EQ(editor.cdsType.Text("f_cxmc"), "金杯面包车");
}

TEST_F(EditorScenario, ACellThatIsNotANumberStopsTheMoveAndSaysWhere) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(3, 2);
  editor.cgdType.TypeText("1..2");
  editor.cgdType.SetCells(2, 1, "99");

  editor.cgdArc.PressKey(kKeyDown);

  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "错误");
  EXPECT_EQ(boxes[0].icon, MessageIcon::kError);
  EXPECT_NE(boxes[0].text.find("02"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("件数起点"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("1..2"), std::string::npos);
  // The operator stays on the row with the cell to mend; the bad row is left
  // as it was, the row before it is written.
  EXPECT_EQ(editor.cgdArc.Row(), 1);
  EXPECT_EQ(editor.cgdType.Cells(3, 2), "1..2");
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "02", "f_jsqd"), 100);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jtqd"), 99);
}

TEST_F(EditorScenario, TypingANewCodeAndEnterCreatesTheItem) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(0, 12);
  editor.cgdArc.PressKey(kKeyDown);  // adds the new row below the last
  ASSERT_EQ(editor.cgdArc.RowCount(), 14);
  EXPECT_EQ(editor.cgdArc.Row(), 13);
  EXPECT_EQ(editor.cgdArc.Col(), 0);
  EXPECT_EQ(editor.cgdType.Cells(0, 1), "");

  editor.cgdArc.TypeText("50");
  editor.cgdArc.PressKey(kKeyReturn);

  EXPECT_TRUE(harness_.TakeBoxes().empty());
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridMarkerColumn, 13), "Edit");
  EXPECT_EQ(editor.cgdArc.Col(), 1);
  EXPECT_THAT(Codes(editor.cgdType), ElementsAre("01", "02", "03", "04", "05", "06", "07"));
  EXPECT_EQ(editor.cgdType.Cells(1, 1), "");
  EXPECT_EQ(editor.cgdType.Cells(30, 7), "0.00");
  ASSERT_TRUE(editor.cdsArc.Locate("f_jtxmbm", {"50"}));
  EXPECT_EQ(editor.cdsArc.Text("f_jtxmmc"), "");
  EXPECT_EQ(editor.cdsArc.Text("f_fc"), "0");
  EXPECT_TRUE(editor.cdsType.Locate("f_jtxmbm;f_cxbm", {"50", "07"}));

  // A created row takes a category, and keeps its code.
  editor.cgdArc.PressKey(kKeyRight);
  editor.cgdArc.TypeText("新类");
  EXPECT_EQ(editor.cgdArc.Cells(2, 13), "新类");
  editor.cgdArc.MoveTo(0, 13);
  editor.cgdArc.TypeText("9");
  EXPECT_EQ(editor.cgdArc.Cells(0, 13), "50");
}

TEST_F(EditorScenario, ACodeThatExistsIsRefusedAndEmptied) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(0, 12);
  editor.cgdArc.PressKey(kKeyDown);
  editor.cgdArc.TypeText("03");
  editor.cgdArc.PressKey(kKeyReturn);

  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "该编码已存在,请重新输入!");
  EXPECT_EQ(boxes[0].caption, "提示");
  EXPECT_EQ(boxes[0].icon, MessageIcon::kError);
  EXPECT_EQ(boxes[0].owner, editor.cgdArc.handle());
  EXPECT_EQ(editor.cgdArc.Cells(0, 13), "");
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridMarkerColumn, 13), "");
  EXPECT_EQ(editor.cdsArc.RecordCount(), 12u);
}

TEST_F(EditorScenario, EnterOnTheCodeOfAFilledRowOnlyMovesOn) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(0, 3);
  editor.cgdArc.PressKey(kKeyReturn);
  EXPECT_TRUE(harness_.TakeBoxes().empty());
  EXPECT_EQ(editor.cgdArc.Cells(0, 3), "03");
  EXPECT_EQ(editor.cgdArc.Col(), 1);
  EXPECT_EQ(editor.cdsArc.RecordCount(), 12u);
}

TEST_F(EditorScenario, KeyFiltersOfBothGrids) {
  TfrmSubsidySet& editor = Open();
  // A filled row whose parameters are on show keeps its code and category.
  editor.cgdArc.ClickCell(0, 1);
  editor.cgdArc.TypeText("7");
  editor.cgdArc.ClickCell(2, 1);
  editor.cgdArc.TypeText("x");
  EXPECT_EQ(editor.cgdArc.Cells(0, 1), "01");
  EXPECT_EQ(editor.cgdArc.Cells(2, 1), "计件");

  struct Case {
    std::string typed;
    std::string shown;
  };
  const Case cases[] = {{"12.5", "12.5"}, {"-3", "3"}, {"a,(1", "1"}, {"1(", "1"}};
  for (const Case& c : cases) {
    editor.cgdType.ClickCell(5, 1);
    editor.cgdType.ClickCell(5, 2);
    editor.cgdType.TypeText(c.typed);
    EXPECT_EQ(editor.cgdType.Cells(5, 2), c.shown) << c.typed;
  }
  // The vehicle type's code and name are never typed into.
  editor.cgdType.ClickCell(1, 1);
  editor.cgdType.TypeText("1");
  editor.cgdType.ClickCell(0, 1);
  editor.cgdType.TypeText("1");
  EXPECT_EQ(editor.cgdType.Cells(1, 1), "金杯面包车");
  EXPECT_EQ(editor.cgdType.Cells(0, 1), "01");
}

TEST_F(EditorScenario, ArrowRulesAddAndDropTheEmptyLastRow) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(0, 12);
  editor.cgdArc.PressKey(kKeyDown);
  ASSERT_EQ(editor.cgdArc.RowCount(), 14);
  // Down on an empty last row adds nothing.
  editor.cgdArc.PressKey(kKeyDown);
  EXPECT_EQ(editor.cgdArc.RowCount(), 14);
  // Up on the empty last row drops it.
  editor.cgdArc.PressKey(kKeyUp);
  EXPECT_EQ(editor.cgdArc.RowCount(), 13);
  // Up on a filled last row keeps it.
  editor.cgdArc.ClickCell(0, 12);
  editor.cgdArc.PressKey(kKeyUp);
  EXPECT_EQ(editor.cgdArc.RowCount(), 13);
  // Enter in 备注 on the last row adds a row and goes to it.
  editor.cgdArc.ClickCell(kItemGridRemarkColumn, 12);  // the click ticks it; the rule does not care
  editor.cgdArc.PressKey(kKeyReturn);
  EXPECT_EQ(editor.cgdArc.RowCount(), 14);
  EXPECT_EQ(editor.cgdArc.Row(), 13);
  // ... but not on a row above the last.
  editor.cgdArc.ClickCell(kItemGridRemarkColumn, 5);
  editor.cgdArc.PressKey(kKeyReturn);
  EXPECT_EQ(editor.cgdArc.RowCount(), 14);
}

TEST_F(EditorScenario, TickingAMeasureShowsItsColumnGroup) {
  TfrmSubsidySet& editor = Open();
  const std::vector<int> piece_only = Join({Range(0, 6), Range(23, 30)});
  ASSERT_EQ(ShownColumns(editor.cgdType), piece_only);
  editor.cgdType.SetColumnWidth(25, 120);

  editor.cgdArc.ClickCell(8, 1);  // 并车
  EXPECT_EQ(ShownColumns(editor.cgdType), Join({Range(0, 6), Range(19, 30)}));
  EXPECT_EQ(editor.cgdType.Column(25).width, 80);
  editor.cgdArc.ClickCell(3, 1);  // 计件 cleared
  EXPECT_EQ(ShownColumns(editor.cgdType), Join({Range(0, 2), Range(19, 30)}));
}

TEST_F(EditorScenario, ColumnLayoutsAreWrittenOnCloseAfterTheHostHeardAndReadOnStart) {
  TfrmSubsidySet& editor = Open();
  bool layout_written_before_notice = true;
  harness_.platform.on_host_closed = [&](WindowHandle) {
    layout_written_before_notice = std::filesystem::exists(harness_.settings_file());
  };
  editor.cgdArc.SetColumnWidth(1, 150);
  editor.cgdType.SetColumnVisible(24, false);

  editor.TbnExit.Click();

  EXPECT_TRUE(editor.closed());
  EXPECT_FALSE(layout_written_before_notice);
  EXPECT_THAT(harness_.platform.close_notifications(), ElementsAre(EditorHarness::kHostNotifyWindow));
  const auto file = harness_.settings_file();
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", "项目名称", ""), "1,150");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", " ", ""), "0,0");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", "返程", ""), "1,30");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet2", "批次津贴", ""), "0,80");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet2", "车型编码", ""), "1,64");
  EXPECT_TRUE(harness_.TakeBoxes().empty());

  WriteProfileString(file, "frmSubsidySet1", "类别", "90");
  TfrmSubsidySet& reopened = harness_.Open();
  EXPECT_EQ(reopened.cgdArc.Column(1).width, 150);
  EXPECT_FALSE(reopened.cgdArc.Column(2).visible);
  EXPECT_EQ(reopened.cgdArc.Column(2).width, 90);
  EXPECT_FALSE(reopened.cgdArc.Column(kItemGridMarkerColumn).visible);
  // The measure columns of the first item decide, whatever the file said.
  EXPECT_TRUE(reopened.cgdType.Column(24).visible);
}

TEST_F(EditorScenario, UnsavedEditsAreLostOnClose) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.SetCells(3, 1, "55");
  editor.cgdArc.PressKey(kKeyDown);
  editor.TbnExit.Click();
  TfrmSubsidySet& reopened = harness_.Open();
  EXPECT_EQ(reopened.cgdType.Cells(3, 1), "60.00");
}

TEST_F(EditorScenario, OperatorRightIsAskedForFunction9026) {
  TfrmSubsidySet& editor = Open();
  EXPECT_TRUE(editor.CheckOperatorRight());
  EXPECT_TRUE(harness_.TakeBoxes().empty());
}

TEST(EditorRefusedRight, ARefusedOperatorIsToldOnce) {
  DemoDatabase database({.demo = true, .database_kind = "", .refused_operator = u"0001"});
  EditorHarness harness(database.service());
  TfrmSubsidySet& editor = harness.Open();
  harness.TakeBoxes();
  EXPECT_FALSE(editor.CheckOperatorRight());
  const auto boxes = harness.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "对不起,你不具有该操作的权限!");
  EXPECT_EQ(boxes[0].caption, "提示");
  EXPECT_EQ(boxes[0].icon, MessageIcon::kError);
  EXPECT_EQ(boxes[0].owner, editor.window());
}

// Both dialects load the same catalogue from the same database.
class EditorDialect : public ::testing::TestWithParam<std::pair<std::string, bool>> {};

TEST_P(EditorDialect, TheReportedKindSelectsTheDialect) {
  const auto& [kind, ansi] = GetParam();
  DemoDatabase database({.demo = true, .database_kind = kind, .refused_operator = u""});
  EditorHarness harness(database.service());
  TfrmSubsidySet& editor = harness.Open();
  EXPECT_EQ(UseAnsiDialect, ansi);
  EXPECT_TRUE(harness.TakeBoxes().empty());
  EXPECT_EQ(Codes(editor.cgdArc).size(), 12u);
  EXPECT_EQ(Codes(editor.cgdType).size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EditorDialect,
                         ::testing::Values(std::make_pair(std::string("SQLSERVER"), false),
                                           std::make_pair(std::string(""), true)));

}  // namespace
}  // namespace tarnvex
