// An operator's session of navigation and editing, headless, against the
// stand-in service on a SQLite file with the demo data.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "embedding/host_messages.h"
#include "host/host_data_service.h"
#include "host/profile_file.h"
#include "host/sql_dialect.h"
#include "support/demo_database.h"
#include "support/editor_harness.h"
#include "support/editor_scenario.h"
#include "support/grid_columns.h"
#include "support/recording_message_boxes.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using namespace testing;  // the grids' named columns (support/grid_columns.h)
using testing::DemoDatabase;
using testing::EditorHarness;
using testing::EditorScenario;
using ::testing::ElementsAre;

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

// The parameter record of an item for a vehicle type, as the editor holds it.
double Parameter(TfrmSubsidySet& editor, const std::string& item, const std::string& type,
                 const char* field) {
  EXPECT_TRUE(editor.cdsType.Locate(kParameterRowKey, {item, type}));
  return std::get<double>(editor.cdsType.Value(field));
}

TEST_F(EditorScenario, StartUpShowsTheTreeAllItemsAndTheFirstItemsParameters) {
  TfrmSubsidySet& editor = Open();
  EXPECT_TRUE(EditorFlags().LoadDone);
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
  EXPECT_EQ(piece->children()[0]->image_index(), PictureIndex(EditorPicture::kItem));

  EXPECT_THAT(Codes(editor.cgdArc),
              ElementsAre("01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12"));
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, 2), "分装拣货补助");
  EXPECT_EQ(editor.cgdArc.Cells(kPieceFlagColumn, 2), "Y");    // 计件
  EXPECT_EQ(editor.cgdArc.Cells(kPackingFlagColumn, 2), "Y");  // 分装
  EXPECT_EQ(editor.cgdArc.Cells(kDistanceFlagColumn, 2), "N");
  EXPECT_EQ(editor.cgdArc.CellColour(kPieceFlagColumn, 5), 0xA613EC);

  EXPECT_THAT(Codes(editor.cgdType), ElementsAre("01", "02", "03", "04", "05", "06", "07"));
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridNameColumn, 1), "金杯面包车");
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceStartColumn, 1), "10.00");
  EXPECT_EQ(editor.cgdType.Cells(kPieceStartColumn, 1), "60.00");
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceCapColumn, 1), "160.00");  // f_jtxe
  EXPECT_EQ(editor.cgdType.CellColour(kDistanceStartColumn, 1), 0x7B7004);
  // Item 01 measures by piece only.
  EXPECT_EQ(ShownColumns(editor.cgdType), Join({Range(0, 6), Range(23, 30)}));
  EXPECT_EQ(editor.cgdType.Column(kPieceStartColumn).width, 80);
  EXPECT_EQ(editor.cgdType.Column(kVehicleGridCodeColumn).width, 64);
}

TEST_F(EditorScenario, TheCrossedColumnsShowTheirOwnFields) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridNameColumn,
                          2);  // item 02: f_fhjt 1, f_jtxe 160 for vehicle type 01
  EXPECT_EQ(editor.cgdType.Cells(kReviewAllowanceColumn, 1), "1.00");
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceCapColumn, 1), "160.00");
  EXPECT_EQ(editor.cgdType.Cells(kStoreAllowanceColumn, 1), "3.00");
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
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridNameColumn, 1), "金杯面包车");
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
  editor.cgdType.ClickCell(kPieceStartColumn, 1);
  editor.cgdType.TypeText("12.5");
  editor.cgdArc.ClickCell(kItemGridNameColumn, 1);
  editor.cgdArc.TypeText("新名称");
  editor.cgdArc.ClickCell(kTimeFlagColumn, 1);  // 计时 ticked by mouse

  editor.cgdArc.PressKey(kKeyDown);
  EXPECT_EQ(editor.cgdArc.Row(), 2);
  EXPECT_EQ(editor.cgdType.Cells(kPieceStartColumn, 1), "60.00");  // item 02's own
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jsqd"), 12.5);

  editor.cgdArc.PressKey(kKeyUp);
  EXPECT_EQ(editor.cgdType.Cells(kPieceStartColumn, 1), "12.50");

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
  editor.cgdType.SetCells(kPieceStartColumn, 1, "  7.5 ");
  editor.cgdType.SetCells(kPieceStepColumn, 1, "");
  editor.cgdType.SetCells(kReviewAllowanceColumn, 1, "2");
  editor.cgdType.SetCells(kAllowanceCapColumn, 1, "300");
  editor.cgdType.SetCells(kVehicleGridNameColumn, 1, "改了名字");

  editor.cgdArc.PressKey(kKeyDown);

  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jsqd"), 7.5);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jsjc"), 0);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_fhjt"), 2);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jtxe"), 300);
  EXPECT_EQ(editor.cdsType.Text("f_cxmc"), "金杯面包车");
}

TEST_F(EditorScenario, ACellThatIsNotANumberStopsTheMoveAndSaysWhere) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kPieceStartColumn, 2);
  editor.cgdType.TypeText("1..2");
  editor.cgdType.SetCells(kAllowanceStartColumn, 1, "99");

  editor.cgdArc.PressKey(kKeyDown);

  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "提示");
  EXPECT_EQ(boxes[0].icon, MessageIcon::kError);
  EXPECT_EQ(boxes[0].text, "项目编码“01”车型编码“02”的“件数起点”不是数字：“1..2”");
  // The operator stays on the row, in the cell to mend, its text selected;
  // nothing of the grid went to the tables yet.
  EXPECT_EQ(editor.cgdArc.Row(), 1);
  EXPECT_EQ(editor.Screen.focused(), &editor.cgdType);
  EXPECT_EQ(editor.cgdType.Col(), kPieceStartColumn);
  EXPECT_TRUE(editor.cgdType.caret_mode());
  EXPECT_EQ(editor.cgdType.TextAnchor(), 0u);
  EXPECT_EQ(editor.cgdType.TextCaret(), 4u);
  EXPECT_EQ(editor.cgdType.Cells(kPieceStartColumn, 2), "1..2");
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "02", "f_jsqd"), 100);

  // Mended, the move goes on and both rows are written.
  editor.cgdType.TypeText("1.2");
  editor.cgdArc.PressKey(kKeyDown);
  EXPECT_TRUE(harness_.TakeBoxes().empty());
  EXPECT_EQ(editor.cgdArc.Row(), 2);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "02", "f_jsqd"), 1.2);
  EXPECT_DOUBLE_EQ(Parameter(editor, "01", "01", "f_jtqd"), 99);
}

TEST_F(EditorScenario, TypingANewCodeAndEnterCreatesTheItem) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 12);
  editor.cgdArc.PressKey(kKeyDown);  // adds the new row below the last
  ASSERT_EQ(editor.cgdArc.RowCount(), 14);
  EXPECT_EQ(editor.cgdArc.Row(), 13);
  EXPECT_EQ(editor.cgdArc.Col(), 0);
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridCodeColumn, 1), "");

  editor.cgdArc.TypeText("50");
  editor.cgdArc.PressKey(kKeyReturn);

  EXPECT_TRUE(harness_.TakeBoxes().empty());
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridMarkerColumn, 13), "Edit");
  EXPECT_EQ(editor.cgdArc.Col(), 1);
  EXPECT_THAT(Codes(editor.cgdType), ElementsAre("01", "02", "03", "04", "05", "06", "07"));
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridNameColumn, 1), "");
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceCapColumn, 7), "0.00");
  ASSERT_TRUE(editor.cdsArc.Locate("f_jtxmbm", {"50"}));
  EXPECT_EQ(editor.cdsArc.Text("f_jtxmmc"), "");
  EXPECT_EQ(editor.cdsArc.Text("f_fc"), "0");
  EXPECT_TRUE(editor.cdsType.Locate("f_jtxmbm;f_cxbm", {"50", "07"}));

  // A created row takes a category, and keeps its code.
  editor.cgdArc.PressKey(kKeyRight);
  editor.cgdArc.TypeText("新类");
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridCategoryColumn, 13), "新类");
  editor.cgdArc.MoveTo(kItemGridCodeColumn, 13);
  editor.cgdArc.TypeText("9");
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridCodeColumn, 13), "50");
}

TEST_F(EditorScenario, ACodeThatExistsIsRefusedAndEmptied) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 12);
  editor.cgdArc.PressKey(kKeyDown);
  editor.cgdArc.TypeText("03");
  editor.cgdArc.PressKey(kKeyReturn);

  EXPECT_EQ(harness_.TakeBoxes(),
            (std::vector<MessageBoxRequest>{{.owner = editor.cgdArc.handle(),
                                             .text = "该编码已存在,请重新输入!",
                                             .caption = "提示",
                                             .icon = MessageIcon::kError,
                                             .buttons = MessageButtons::kOk}}));
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridCodeColumn, 13), "");
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridMarkerColumn, 13), "");
  EXPECT_EQ(editor.cdsArc.RecordCount(), 12u);
}

TEST_F(EditorScenario, EnterOnTheCodeOfAFilledRowOnlyMovesOn) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 3);
  editor.cgdArc.PressKey(kKeyReturn);
  EXPECT_TRUE(harness_.TakeBoxes().empty());
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridCodeColumn, 3), "03");
  EXPECT_EQ(editor.cgdArc.Col(), 1);
  EXPECT_EQ(editor.cdsArc.RecordCount(), 12u);
}

TEST_F(EditorScenario, KeyFiltersOfBothGrids) {
  TfrmSubsidySet& editor = Open();
  // A filled row keeps its code, and takes another category.
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 1);
  editor.cgdArc.TypeText("7");
  editor.cgdArc.ClickCell(kItemGridCategoryColumn, 1);
  editor.cgdArc.TypeText("x");
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridCodeColumn, 1), "01");
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridCategoryColumn, 1), "x");

  struct Case {
    std::string typed;
    std::string shown;
  };
  const Case cases[] = {{"12.5", "12.5"}, {"-3", "3"}, {"a,(1", "1"}, {"1(", "1"}};
  for (const Case& c : cases) {
    editor.cgdType.ClickCell(kPieceAllowanceStartColumn, 1);
    editor.cgdType.ClickCell(kPieceAllowanceStartColumn, 2);
    editor.cgdType.TypeText(c.typed);
    EXPECT_EQ(editor.cgdType.Cells(kPieceAllowanceStartColumn, 2), c.shown) << c.typed;
  }
  // The vehicle type's code and name are never typed into.
  editor.cgdType.ClickCell(kVehicleGridNameColumn, 1);
  editor.cgdType.TypeText("1");
  editor.cgdType.ClickCell(kVehicleGridCodeColumn, 1);
  editor.cgdType.TypeText("1");
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridNameColumn, 1), "金杯面包车");
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridCodeColumn, 1), "01");
}

TEST_F(EditorScenario, ArrowRulesAddAndDropTheEmptyLastRow) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 12);
  editor.cgdArc.PressKey(kKeyDown);
  ASSERT_EQ(editor.cgdArc.RowCount(), 14);
  // Down on an empty last row adds nothing.
  editor.cgdArc.PressKey(kKeyDown);
  EXPECT_EQ(editor.cgdArc.RowCount(), 14);
  // Up on the empty last row drops it.
  editor.cgdArc.PressKey(kKeyUp);
  EXPECT_EQ(editor.cgdArc.RowCount(), 13);
  // Up on a filled last row keeps it.
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 12);
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
  editor.cgdType.SetColumnWidth(kStoreAllowanceColumn, 120);

  editor.cgdArc.ClickCell(kCombinedFlagColumn, 1);  // 并车
  EXPECT_EQ(ShownColumns(editor.cgdType), Join({Range(0, 6), Range(19, 30)}));
  EXPECT_EQ(editor.cgdType.Column(kStoreAllowanceColumn).width, 80);
  editor.cgdArc.ClickCell(kPieceFlagColumn, 1);  // 计件 cleared
  EXPECT_EQ(ShownColumns(editor.cgdType), Join({Range(0, 2), Range(19, 30)}));
}

// Tab and Shift+Tab take the focus round the tree, the item grid and the
// vehicle-type grid; a grid never takes Tab as a move, nor its edit as ended.
TEST_F(EditorScenario, TabAndShiftTabMoveTheFocusRoundTreeItemGridAndVehicleGrid) {
  TfrmSubsidySet& editor = Open();
  ASSERT_EQ(editor.Screen.focused(), &editor.TreeNT);
  struct Step {
    bool shift;
    const Control* focused;
  };
  const Step steps[] = {
      {false, &editor.cgdArc}, {false, &editor.cgdType}, {false, &editor.TreeNT},
      {true, &editor.cgdType}, {true, &editor.cgdArc},   {true, &editor.TreeNT},
  };
  for (const Step& step : steps) {
    EXPECT_TRUE(editor.FormKeyDown(kKeyTab, false, step.shift));
    EXPECT_EQ(editor.Screen.focused(), step.focused) << (step.shift ? "Shift+Tab" : "Tab");
  }

  editor.cgdArc.ClickCell(kItemGridNameColumn, 2);
  editor.cgdArc.TypeText("改");
  editor.Screen.SetFocus(editor.cgdArc);
  EXPECT_TRUE(editor.FormKeyDown(kKeyTab, false));
  EXPECT_EQ(editor.Screen.focused(), &editor.cgdType);
  EXPECT_EQ(editor.cgdArc.Col(), kItemGridNameColumn);
  EXPECT_EQ(editor.cgdArc.Row(), 2);
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, 2), "改");
  EXPECT_TRUE(harness_.TakeBoxes().empty());
}

TEST_F(EditorScenario, ColumnLayoutsAreWrittenOnCloseAfterTheHostHeardAndReadOnStart) {
  TfrmSubsidySet& editor = Open();
  bool layout_written_before_notice = true;
  harness_.platform.on_message_sent = [&](const HeadlessPlatform::SentMessage&) {
    layout_written_before_notice = std::filesystem::exists(harness_.settings_file());
  };
  editor.cgdArc.SetColumnWidth(kItemGridNameColumn, 150);
  editor.cgdType.SetColumnVisible(kBatchAllowanceColumn, false);

  editor.TbnExit.Click();

  EXPECT_TRUE(editor.closed());
  EXPECT_FALSE(layout_written_before_notice);
  EXPECT_THAT(harness_.platform.sent_messages(),
              ElementsAre(HeadlessPlatform::SentMessage{EditorHarness::kHostNotifyWindow,
                                                        kHostClosedMessage}));
  const auto file = harness_.settings_file();
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", "项目名称", ""), "1,150");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", " ", ""), "0,0");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet1", "返程", ""), "1,30");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet2", "批次津贴", ""), "0,80");
  EXPECT_EQ(ReadProfileString(file, "frmSubsidySet2", "车型编码", ""), "1,64");
  EXPECT_TRUE(harness_.TakeBoxes().empty());

  WriteProfileString(file, "frmSubsidySet1", "类别", "90");
  TfrmSubsidySet& reopened = harness_.Open();
  EXPECT_EQ(reopened.cgdArc.Column(kItemGridNameColumn).width, 150);
  EXPECT_FALSE(reopened.cgdArc.Column(kItemGridCategoryColumn).visible);
  EXPECT_EQ(reopened.cgdArc.Column(kItemGridCategoryColumn).width, 90);
  EXPECT_FALSE(reopened.cgdArc.Column(kItemGridMarkerColumn).visible);
  // The measure columns of the first item decide, whatever the file said.
  EXPECT_TRUE(reopened.cgdType.Column(kBatchAllowanceColumn).visible);
}

TEST_F(EditorScenario, UnsavedEditsAreLostOnCloseWhenTheOperatorSaysNo) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.SetCells(kPieceStartColumn, 1, "55");
  editor.cgdArc.PressKey(kKeyDown);
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);  // to "数据已修改,是否保存?"
  editor.TbnExit.Click();
  EXPECT_TRUE(editor.closed());
  TfrmSubsidySet& reopened = harness_.Open();
  EXPECT_EQ(reopened.cgdType.Cells(kPieceStartColumn, 1), "60.00");
}

// The demo database behind a host that grants one function code only: the
// editing function 9026 is allowed, any other code is refused, so asking for
// the wrong function fails the check.
class OneFunctionHost : public HostDataService {
 public:
  OneFunctionHost(std::shared_ptr<HostDataService> database, std::u16string granted)
      : database_(std::move(database)), granted_(std::move(granted)) {}

  Variant GetDatabaseKind() override { return database_->GetDatabaseKind(); }
  bool ExecuteQuery(const Variant& sql, Variant& result) override {
    return database_->ExecuteQuery(sql, result);
  }
  bool ExecuteStatement(Variant& statements) override {
    return database_->ExecuteStatement(statements);
  }
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override {
    return function_code == granted_ && database_->CheckRight(operator_code, function_code);
  }

 private:
  std::shared_ptr<HostDataService> database_;
  std::u16string granted_;
};

TEST(EditorRight, OperatorRightIsAskedForFunction9026) {
  // The host grants one code: the editor is let in only when that is 9026.
  const struct {
    std::u16string granted;
    bool allowed;
  } kCases[] = {{u"9026", true}, {u"9027", false}, {u"902", false}, {u"0001", false}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.granted.begin(), c.granted.end()));
    DemoDatabase database;
    EditorHarness harness(std::make_shared<OneFunctionHost>(database.service(), c.granted));
    TfrmSubsidySet& editor = harness.Open();
    harness.TakeBoxes();
    EXPECT_EQ(editor.CheckOperatorRight(), c.allowed);
    EXPECT_EQ(harness.TakeBoxes().size(), c.allowed ? 0u : 1u);
  }
}

TEST(EditorRefusedRight, ARefusedOperatorIsToldOnce) {
  DemoDatabase database({.demo = true, .database_kind = "", .refused_operator = u"0001"});
  EditorHarness harness(database.service());
  TfrmSubsidySet& editor = harness.Open();
  harness.TakeBoxes();
  EXPECT_FALSE(editor.CheckOperatorRight());
  EXPECT_EQ(harness.TakeBoxes(),
            (std::vector<MessageBoxRequest>{{.owner = editor.window(),
                                             .text = "对不起,你不具有该操作的权限!",
                                             .caption = "提示",
                                             .icon = MessageIcon::kError,
                                             .buttons = MessageButtons::kOk}}));
}

// Both dialects load the same catalogue from the same database.
class EditorDialect : public ::testing::TestWithParam<std::pair<std::string, bool>> {};

TEST_P(EditorDialect, TheReportedKindSelectsTheDialect) {
  const auto& [kind, ansi] = GetParam();
  DemoDatabase database({.demo = true, .database_kind = kind, .refused_operator = u""});
  EditorHarness harness(database.service());
  TfrmSubsidySet& editor = harness.Open();
  EXPECT_EQ(EditorFlags().UseAnsiDialect, ansi);
  EXPECT_TRUE(harness.TakeBoxes().empty());
  EXPECT_EQ(Codes(editor.cgdArc).size(), 12u);
  EXPECT_EQ(Codes(editor.cgdType).size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EditorDialect,
                         ::testing::Values(std::make_pair(std::string("SQLSERVER"), false),
                                           std::make_pair(std::string(""), true)));

}  // namespace
}  // namespace tarnvex
