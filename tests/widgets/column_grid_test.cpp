#include "widgets/column_grid.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarnvex {
namespace {

using ::testing::ElementsAre;

// Four columns: text, check box, hidden text, read-only text; three data rows.
class ColumnGridTest : public ::testing::Test {
 protected:
  ColumnGridTest() {
    grid_.AddColumn({.header = "A"});
    grid_.AddColumn({.header = "B", .kind = CellKind::kCheckBox});
    grid_.AddColumn({.header = "C", .visible = false});
    grid_.AddColumn({.header = "D", .read_only = true, .alignment = HorizontalAlignment::kRight});
    grid_.InsertRow(2);
    grid_.InsertRow(3);
    grid_.OnRowChanging = [this](int old_row, int new_row, bool& allow) {
      events_.push_back("row " + std::to_string(old_row) + ">" + std::to_string(new_row) + " at " +
                        std::to_string(grid_.Row()));
      allow = !refuse_;
    };
    grid_.OnSelectCell = [this](int col, int row, bool&) {
      events_.push_back("select " + std::to_string(col) + "," + std::to_string(row));
    };
    grid_.OnClick = [this] { events_.push_back("click " + grid_.Cells(1, grid_.Row())); };
  }

  ColumnGrid grid_{"grid"};
  std::vector<std::string> events_;
  bool refuse_ = false;
};

TEST_F(ColumnGridTest, ANewGridHasTheHeaderAndOneEmptyRow) {
  ColumnGrid grid("fresh");
  grid.AddColumn({.header = "X"});
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cells(0, 0), "X");
  EXPECT_EQ(grid.Cells(0, 1), "");
  EXPECT_EQ(grid.Row(), 1);
}

TEST_F(ColumnGridTest, MovingRaisesRowChangingThenSelectCellWhileTheOldCellIsCurrent) {
  grid_.MoveTo(0, 3);
  grid_.MoveTo(3, 3);
  grid_.MoveTo(3, 3);
  EXPECT_THAT(events_, ElementsAre("row 1>3 at 1", "select 0,3", "select 3,3"));
  EXPECT_EQ(grid_.Row(), 3);
  EXPECT_EQ(grid_.Col(), 3);
}

TEST_F(ColumnGridTest, ARefusedMoveKeepsTheCurrentCell) {
  refuse_ = true;
  EXPECT_FALSE(grid_.MoveTo(0, 2));
  EXPECT_THAT(events_, ElementsAre("row 1>2 at 1"));
  EXPECT_EQ(grid_.Row(), 1);
}

TEST_F(ColumnGridTest, KeysMoveTheCurrentCell) {
  struct Case {
    int col, row;
    KeyCode key;
    int want_col, want_row;
  };
  const Case cases[] = {
      {0, 1, kKeyReturn, 1, 1},  // to the right
      {1, 1, kKeyReturn, 3, 1},  // over the hidden column
      {3, 1, kKeyReturn, 0, 2},  // from the last column to the next row
      {3, 3, kKeyReturn, 3, 3},  // nowhere to go
      {0, 1, kKeyUp, 0, 1},     {0, 2, kKeyUp, 0, 1},   {0, 3, kKeyDown, 0, 3},
      {0, 2, kKeyDown, 0, 3},   {3, 2, kKeyLeft, 1, 2}, {1, 2, kKeyRight, 3, 2},
  };
  for (const Case& c : cases) {
    grid_.MoveTo(c.col, c.row);
    grid_.PressKey(c.key);
    EXPECT_EQ(grid_.Col(), c.want_col) << c.col << "," << c.row << " key " << c.key;
    EXPECT_EQ(grid_.Row(), c.want_row) << c.col << "," << c.row << " key " << c.key;
  }
}

TEST_F(ColumnGridTest, KeyDownRunsBeforeTheGridsOwnMove) {
  grid_.OnKeyDown = [this](KeyCode) { grid_.MoveTo(0, 3); };
  grid_.PressKey(kKeyReturn);
  EXPECT_EQ(grid_.Row(), 3);
  EXPECT_EQ(grid_.Col(), 1);
}

TEST_F(ColumnGridTest, TypingEditsInPlace) {
  grid_.SetCells(0, 1, "old");
  grid_.TypeText("ab");
  EXPECT_EQ(grid_.Cells(0, 1), "ab");
  grid_.TypeText("计");  // two bytes, one character
  grid_.TypeChar(kCharBackspace);
  EXPECT_EQ(grid_.Cells(0, 1), "ab");
  grid_.PressKey(kKeyEscape);
  EXPECT_EQ(grid_.Cells(0, 1), "old");

  grid_.MoveTo(0, 2);
  grid_.SetCells(0, 2, "xy");
  grid_.TypeChar(kCharBackspace);  // an edit begun by Backspace keeps the text
  EXPECT_EQ(grid_.Cells(0, 2), "x");
}

TEST_F(ColumnGridTest, TheKeyPressFilterAndReadOnlyAndHiddenColumnsKeepCells) {
  grid_.OnKeyPress = [](char& ch) {
    if (ch == 'x') ch = 0;
  };
  grid_.TypeText("axb");
  EXPECT_EQ(grid_.Cells(0, 1), "ab");
  grid_.SetCells(3, 1, "ro");
  grid_.MoveTo(3, 1);
  grid_.TypeText("z");
  EXPECT_EQ(grid_.Cells(3, 1), "ro");
  grid_.MoveTo(2, 1);
  grid_.TypeText("z");
  EXPECT_EQ(grid_.Cells(2, 1), "");
}

TEST_F(ColumnGridTest, CheckBoxesTickByClickAndSpaceBeforeOnClick) {
  grid_.ClickCell(1, 2);
  EXPECT_TRUE(grid_.Ticked(1, 2));
  grid_.TypeChar(' ');
  EXPECT_FALSE(grid_.Ticked(1, 2));
  EXPECT_EQ(grid_.Cells(1, 2), "N");
  grid_.ClickCell(0, 0);  // the header: no move, no tick
  EXPECT_THAT(events_, ElementsAre("row 1>2 at 1", "select 1,2", "click Y", "click N"));
  EXPECT_EQ(grid_.Row(), 2);
}

TEST_F(ColumnGridTest, ACheckChangedByClickOrSpaceIsReportedWithItsCellBeforeOnClick) {
  grid_.OnCheckChanged = [this](int col, int row) {
    events_.push_back("check " + std::to_string(col) + "," + std::to_string(row) + " " +
                      grid_.Cells(col, row));
  };
  grid_.ClickCell(1, 2);
  grid_.TypeChar(' ');
  grid_.TypeChar('x');    // not Space: no change
  grid_.ClickCell(0, 2);  // a text cell
  grid_.MoveTo(1, 3);
  grid_.TypeChar(' ');
  EXPECT_THAT(events_,
              ElementsAre("row 1>2 at 1", "select 1,2", "check 1,2 Y", "click Y", "check 1,2 N",
                          "select 0,2", "click N", "row 2>3 at 2", "select 1,3", "check 1,3 Y"));
}

TEST_F(ColumnGridTest, RowsAreInsertedAndRemovedAroundTheCurrentRow) {
  for (int row = 1; row <= 3; ++row) {
    grid_.SetCells(0, row, std::to_string(row));
    grid_.SetRowTag(row, row * 10);
  }
  grid_.MoveTo(0, 2);
  grid_.InsertRow(1);
  EXPECT_EQ(grid_.Row(), 3);
  EXPECT_EQ(grid_.Cells(0, 3), "2");
  EXPECT_EQ(grid_.RowTag(3), 20);
  EXPECT_EQ(grid_.RowTag(1), 0);

  grid_.RemoveRows(1, 2);
  EXPECT_EQ(grid_.Row(), 1);
  EXPECT_EQ(grid_.Cells(0, 1), "2");
  grid_.MoveTo(0, 2);
  grid_.RemoveRow(2);
  EXPECT_EQ(grid_.Row(), 1);
  EXPECT_THROW(grid_.RemoveRow(1), std::out_of_range);
  EXPECT_THROW(grid_.InsertRow(0), std::out_of_range);
  EXPECT_THROW(grid_.Cells(0, 2), std::out_of_range);
  EXPECT_THROW(grid_.Cells(4, 1), std::out_of_range);
  EXPECT_THROW(grid_.MoveTo(0, 0), std::out_of_range);
}

TEST_F(ColumnGridTest, AlignmentIsTheColumnsUnlessTheHandlerSaysOtherwise) {
  EXPECT_EQ(grid_.Alignment(3, 1).horizontal, HorizontalAlignment::kRight);
  EXPECT_EQ(grid_.Alignment(3, 0).horizontal, HorizontalAlignment::kRight);
  grid_.OnGetAlignment = [](int, int row, CellAlignment& alignment) {
    if (row == 0) alignment.horizontal = HorizontalAlignment::kCentre;
  };
  EXPECT_EQ(grid_.Alignment(3, 0).horizontal, HorizontalAlignment::kCentre);
  EXPECT_EQ(grid_.Alignment(3, 1).horizontal, HorizontalAlignment::kRight);
}

}  // namespace
}  // namespace tarnvex
