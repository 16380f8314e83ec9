// Blocks of cells to and from a spreadsheet, headless, against the stand-in
// service on a SQLite file with the demo data, in both SQL dialects: a block
// pasted into either grid and saved, the pastes refused whole, Ctrl+Z and
// Ctrl+C.

#include <memory>
#include <string>
#include <variant>
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
using testing::DialectScenario;
using ::testing::ElementsAre;

// Every cell of a grid, header row included.
std::vector<std::string> AllCells(const ColumnGrid& grid) {
  std::vector<std::string> cells;
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int col = 0; col < grid.ColumnCount(); ++col) cells.push_back(grid.Cells(col, row));
  }
  return cells;
}

class CellBlockScenario : public DialectScenario {
 protected:
  void Paste(ColumnGrid& grid, int col, int row, const std::string& text) {
    grid.MoveTo(col, row);
    harness_.platform.SetClipboardText(text);
    grid.PressKey('V', kCtrlHeld);
  }

  TfrmSubsidySet& editor_ = Open();
};

TEST_P(CellBlockScenario, AThreeByTwoBlockPastedIntoTheVehicleGridIsSaved) {
  // As a spreadsheet puts it on the clipboard: a line end after the last line.
  Paste(editor_.cgdType, kAllowanceStartColumn, 1, "1.5\t2\t3.25\r\n4\t5\t6\r\n");

  EXPECT_TRUE(harness_.TakeBoxTexts().empty());
  EXPECT_EQ(editor_.cgdType.Cells(kPieceStepColumn, 1), "3.25");
  // Each cell as if typed there and left: in the "0.00" form.
  EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 2), "4.00");
  // The cell right of the block and the row below it stay.
  EXPECT_EQ(editor_.cgdType.Cells(kPieceAllowanceStartColumn, 1), "5.50");
  EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 3), "13.00");
  EXPECT_TRUE(editor_.HasUnsavedChanges());

  Save(editor_);

  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_DOUBLE_EQ(StoredParameter("f_jtqd", "01", "01"), 1.5);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jsqd", "01", "01"), 2);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jsjc", "01", "01"), 3.25);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jtqd", "01", "02"), 4);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jsqd", "01", "02"), 5);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jsjc", "01", "02"), 6);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jjjtqd", "01", "01"), 5.5);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jtqd", "01", "03"), 13);
  EXPECT_FALSE(editor_.HasUnsavedChanges());
}

TEST_P(CellBlockScenario, NamesAndTicksPastedIntoTheItemGridAreSavedAndShowTheirMeasures) {
  // Row 2 is item 02 (计件 ticked); a tick box takes Y, N, 1, 0 or nothing.
  // Control characters are left out, as typing leaves them out; a tab in a
  // quoted cell is one.
  Paste(editor_.cgdArc, kItemGridNameColumn, 2, "\"粘贴\t的\x16名称\"");
  Paste(editor_.cgdArc, kPieceFlagColumn, 1, "N\t1\r\n\tY");

  EXPECT_TRUE(harness_.TakeBoxTexts().empty());
  EXPECT_EQ(editor_.cgdArc.Cells(kPieceFlagColumn, 1), ColumnGrid::kCleared);
  EXPECT_EQ(editor_.cgdArc.Cells(kDistanceFlagColumn, 1), ColumnGrid::kTicked);
  // Row 1's measures now show as ticking them would show them.
  EXPECT_FALSE(editor_.cgdType.Column(kPieceStartColumn).visible);
  EXPECT_TRUE(editor_.cgdType.Column(kDistanceStartColumn).visible);

  Save(editor_);

  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='02'"), "粘贴的名称");
  EXPECT_EQ(database_.Text("select f_jj from tbdyjtxmda where f_jtxmbm='01'"), "0");
  EXPECT_EQ(database_.Text("select f_jc from tbdyjtxmda where f_jtxmbm='01'"), "1");
  EXPECT_EQ(database_.Text("select f_jj from tbdyjtxmda where f_jtxmbm='02'"), "0");
  EXPECT_EQ(database_.Text("select f_jc from tbdyjtxmda where f_jtxmbm='02'"), "1");
}

TEST_P(CellBlockScenario, ACodePastedIntoANewRowBecomesAnItemAsATypedOneDoes) {
  const int last = editor_.cgdArc.RowCount() - 1;
  editor_.cgdArc.MoveTo(kItemGridCodeColumn, last);
  editor_.cgdArc.PressKey(kKeyDown);
  ASSERT_EQ(editor_.cgdArc.Row(), last + 1);
  Paste(editor_.cgdArc, kItemGridCodeColumn, last + 1, "88\t粘贴的项目\t计件\r\n");
  EXPECT_TRUE(harness_.TakeBoxTexts().empty());
  EXPECT_TRUE(editor_.HasUnsavedChanges());

  Save(editor_);

  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='88'"), "粘贴的项目");
  EXPECT_EQ(database_.Query("select * from tbdyjtxmlb where f_jtxmbm='88'").row_count(), 7u);
}

TEST_P(CellBlockScenario, ARefusedValueRefusesTheWholePasteAndNamesTheFirstBadCell) {
  struct Case {
    const char* name;
    bool vehicle_grid;
    int col, row;
    std::string text;
    std::string message;
  };
  // Item 01 shows its piece columns only: 里程起点 (column 7) is hidden.
  const std::vector<Case> cases = {
      {"not a number", true, kAllowanceStartColumn, 1, "1\t2\r\n3\tx1\t-5",
       "粘贴被取消：项目编码“01”车型编码“02”的“件数起点”只能输入数字和小数点：“x1”"},
      {"two points", true, kAllowanceStartColumn, 1, "1.2.3",
       "粘贴被取消：项目编码“01”车型编码“01”的“津贴起点”不是数字：“1.2.3”"},
      {"too large", true, kAllowanceStartColumn, 1, "1000000000000",
       "粘贴被取消：项目编码“01”车型编码“01”的“津贴起点”超出了范围(绝对值须小于1000000000000)："
       "“1000000000000”"},
      {"past the last column", true, kReviewAllowanceColumn, 1, "1\t2\t3",
       "粘贴被取消：项目编码“01”车型编码“01”超出了最后一列：“3”"},
      {"past the last row", true, kAllowanceStartColumn, 7, "1\r\n2",
       "粘贴被取消：“津贴起点”超出了最后一行：“2”"},
      {"hidden column", true, kPieceAllowanceStartColumn + 1, 1, "1\t2",
       "粘贴被取消：项目编码“01”车型编码“01”的“里程起点”没有显示：“2”"},
      {"read-only column", true, kVehicleGridNameColumn, 1, "车\t5",
       "粘贴被取消：项目编码“01”车型编码“01”的“车型名称”不能修改：“车”"},
      {"not a tick", false, kPieceFlagColumn, 1, "Y\tmaybe",
       "粘贴被取消：项目编码“01”的“计程”只能是Y或N：“maybe”"},
      {"an item's code", false, kItemGridCodeColumn, 1, "99\t名称",
       "粘贴被取消：项目编码“01”的“项目编码”不能修改：“99”"},
      {"a name past its bytes", false, kItemGridNameColumn, 1, std::string(31, 'n'),
       "粘贴被取消：项目编码“01”的“项目名称”超过了30个字节(31个字节)：“" + std::string(31, 'n') +
           "”"},
  };
  const std::vector<std::string> items_before = AllCells(editor_.cgdArc);
  const std::vector<std::string> parameters_before = AllCells(editor_.cgdType);
  for (const Case& c : cases) {
    Paste(c.vehicle_grid ? editor_.cgdType : editor_.cgdArc, c.col, c.row, c.text);
    const std::vector<MessageBoxRequest> boxes = harness_.TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes[0].text, c.message) << c.name;
    EXPECT_EQ(boxes[0].caption, "提示") << c.name;
    EXPECT_EQ(boxes[0].icon, MessageIcon::kError) << c.name;
    EXPECT_EQ(AllCells(editor_.cgdArc), items_before) << c.name;
    EXPECT_EQ(AllCells(editor_.cgdType), parameters_before) << c.name;
  }
  EXPECT_FALSE(editor_.HasUnsavedChanges());
}

TEST_P(CellBlockScenario, CtrlZTakesTheWholePasteBackOnceWhileItsCellsHoldIt) {
  const std::vector<std::string> before = AllCells(editor_.cgdType);
  Paste(editor_.cgdType, kAllowanceStartColumn, 1, "1\t2\t3\r\n4\t5\t6");
  editor_.cgdType.PressKey('Z', kCtrlHeld);
  EXPECT_EQ(AllCells(editor_.cgdType), before);
  EXPECT_FALSE(editor_.HasUnsavedChanges());
  // Nothing more to take back.
  editor_.cgdType.PressKey('Z', kCtrlHeld);
  EXPECT_EQ(AllCells(editor_.cgdType), before);

  // A pasted cell typed over since: the paste is no longer the last edit.
  // (Ctrl+Z while the cell is still typed into takes back the typing.)
  Paste(editor_.cgdType, kAllowanceStartColumn, 1, "7\t8");
  editor_.cgdType.TypeText("9");
  editor_.cgdType.PressKey(kKeyReturn);
  editor_.cgdType.PressKey('Z', kCtrlHeld);
  EXPECT_EQ(editor_.cgdType.Cells(kAllowanceStartColumn, 1), "9.00");
  EXPECT_EQ(editor_.cgdType.Cells(kPieceStartColumn, 1), "8.00");

  // Taken back, the save sends nothing of it.
  Paste(editor_.cgdArc, kPieceFlagColumn, 2, "N\tY");
  editor_.cgdArc.PressKey('Z', kCtrlHeld);
  EXPECT_EQ(editor_.cgdArc.Cells(kPieceFlagColumn, 2), ColumnGrid::kTicked);
  EXPECT_EQ(editor_.cgdArc.Cells(kDistanceFlagColumn, 2), ColumnGrid::kCleared);
  Save(editor_);
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(database_.Text("select f_jj from tbdyjtxmda where f_jtxmbm='02'"), "1");
  EXPECT_DOUBLE_EQ(StoredParameter("f_jtqd", "01", "01"), 9);
  EXPECT_DOUBLE_EQ(StoredParameter("f_jsqd", "01", "01"), 8);
}

TEST_P(CellBlockScenario, CtrlCCopiesTheShownCellsOfTheBlockAsTabSeparatedLines) {
  struct Case {
    const char* name;
    bool vehicle_grid;
    int col, row;
    std::vector<KeyCode> shift_keys;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"the current cell alone", true, kPieceStartColumn, 2, {}, "100.00"},
      {"three by two",
       true,
       kAllowanceStartColumn,
       1,
       {kKeyRight, kKeyRight, kKeyDown},
       "10.00\t60.00\t15.00\r\n14.00\t100.00\t25.00"},
      // 里程起点 to 并车津贴级差 are hidden for item 01.
      {"over hidden columns",
       true,
       kPieceAllowanceStartColumn + 1,
       1,
       {kKeyRight, kKeyRight},
       "1.00\t0.00\t0.00"},
      {"names and ticks",
       false,
       kItemGridNameColumn,
       1,
       {kKeyRight, kKeyRight, kKeyDown},
       "整件配送补助\t计件\tY\r\n分装拣货补助\t计件\tY"},
  };
  for (const Case& c : cases) {
    ColumnGrid& grid = c.vehicle_grid ? editor_.cgdType : editor_.cgdArc;
    grid.MoveTo(c.col, c.row);
    for (KeyCode key : c.shift_keys) grid.PressKey(key, kShiftHeld);
    grid.PressKey('C', kCtrlHeld);
    EXPECT_EQ(harness_.platform.ClipboardText(), c.text) << c.name;
  }
  // What was copied pastes back elsewhere as it was.
  editor_.cgdType.MoveTo(kAllowanceStartColumn, 1);
  editor_.cgdType.ExtendBlock(kPieceStepColumn, 2);
  editor_.cgdType.PressKey('C', kCtrlHeld);
  editor_.cgdType.MoveTo(kAllowanceStartColumn, 5);
  editor_.cgdType.PressKey('V', kCtrlHeld);
  EXPECT_TRUE(harness_.TakeBoxTexts().empty());
  for (int col = kAllowanceStartColumn; col <= kPieceStepColumn; ++col) {
    EXPECT_EQ(editor_.cgdType.Cells(col, 5), editor_.cgdType.Cells(col, 1));
    EXPECT_EQ(editor_.cgdType.Cells(col, 6), editor_.cgdType.Cells(col, 2));
  }
}

INSTANTIATE_TEST_SUITE_P(BothDialects, CellBlockScenario, kBothDialects, DialectName);

}  // namespace
}  // namespace tarnvex
