#include "widgets/column_grid.h"

#include <functional>
#include <string>
#include <utility>
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

// Six shown columns of 49 pixels (50 with the grid line), the first two frozen,
// one hidden column among the scrolling ones; 20 data rows, 5 on screen and a
// view 200 pixels wide: 100 frozen, 100 for the scrolling columns.
class ScrollingGridTest : public ::testing::Test {
 protected:
  ScrollingGridTest() {
    for (int col = 0; col < 7; ++col) {
      grid_.AddColumn({.header = std::to_string(col), .width = 49, .visible = col != 3});
    }
    for (int row = 2; row <= 20; ++row) grid_.InsertRow(row);
    grid_.SetFrozenColumns(2);
    grid_.SetViewport(5, 200);
  }

  ColumnGrid grid_{"scrolling"};
};

TEST_F(ScrollingGridTest, WidthsCountShownColumnsAndTheirGridLines) {
  EXPECT_EQ(grid_.FrozenWidth(), 100);
  EXPECT_EQ(grid_.ContentWidth(), 300);
  EXPECT_TRUE(grid_.ScrollsSideways());
  EXPECT_EQ(grid_.MaxScrollX(), 100);
  grid_.SetViewport(5, 300);
  EXPECT_FALSE(grid_.ScrollsSideways());
  EXPECT_EQ(grid_.MaxScrollX(), 0);
}

TEST_F(ScrollingGridTest, ScrollPositionsStayWithinTheContent) {
  struct Case {
    int asked_row, row, asked_x, x;
  };
  for (const Case& c : {Case{0, 1, -5, 0}, Case{7, 7, 30, 30}, Case{16, 16, 100, 100},
                        Case{17, 16, 101, 100}, Case{99, 16, 999, 100}}) {
    grid_.ScrollToRow(c.asked_row);
    grid_.ScrollToX(c.asked_x);
    EXPECT_EQ(grid_.TopRow(), c.row) << c.asked_row;
    EXPECT_EQ(grid_.ScrollX(), c.x) << c.asked_x;
  }
  // Fewer rows or narrower columns pull the positions back.
  grid_.RemoveRows(1, 10);
  EXPECT_EQ(grid_.TopRow(), 6);
  grid_.SetColumnWidth(6, 0);
  EXPECT_EQ(grid_.ScrollX(), 51);
  grid_.SetViewport(5, 1000);
  EXPECT_EQ(grid_.ScrollX(), 0);
}

TEST_F(ScrollingGridTest, MovingBringsTheCurrentCellIntoViewFrozenColumnsNeverScroll) {
  struct Case {
    int col, row, top, x;
  };
  // From top row 1, position 0, one move after the other.
  for (const Case& c :
       {Case{6, 1, 1, 100}, Case{0, 1, 1, 100}, Case{2, 5, 1, 0}, Case{4, 9, 5, 0},
        Case{5, 20, 16, 50}, Case{6, 20, 16, 100}, Case{1, 2, 2, 100}, Case{2, 2, 2, 0}}) {
    ASSERT_TRUE(grid_.MoveTo(c.col, c.row));
    EXPECT_EQ(grid_.TopRow(), c.top) << c.col << "," << c.row;
    EXPECT_EQ(grid_.ScrollX(), c.x) << c.col << "," << c.row;
  }
}

TEST_F(ScrollingGridTest, KeysReachColumnsOffScreen) {
  grid_.MoveTo(1, 1);
  grid_.PressKey(kKeyRight);
  grid_.PressKey(kKeyRight);
  EXPECT_EQ(grid_.Col(), 4);
  EXPECT_EQ(grid_.ScrollX(), 0);
  grid_.PressKey(kKeyRight);
  EXPECT_EQ(grid_.ScrollX(), 50);
  grid_.PressKey(kKeyRight);
  EXPECT_EQ(grid_.ScrollX(), 100);
  grid_.PressKey(kKeyReturn);
  EXPECT_EQ(grid_.Col(), 0);
  EXPECT_EQ(grid_.Row(), 2);
  EXPECT_EQ(grid_.ScrollX(), 100);  // frozen: nothing to scroll to
  grid_.PressKey(kKeyRight);
  grid_.PressKey(kKeyRight);
  EXPECT_EQ(grid_.ScrollX(), 0);
}

TEST_F(ScrollingGridTest, ScrollIntoViewShowsTheCurrentRowAfterAFill) {
  grid_.MoveTo(0, 18);
  grid_.ScrollToRow(1);
  grid_.ScrollToX(80);
  grid_.ScrollIntoView();
  EXPECT_EQ(grid_.TopRow(), 14);
  EXPECT_EQ(grid_.ScrollX(), 80);  // the current cell is a frozen one

  // A fill starting at the left keeps there even with the current cell off
  // to the right.
  grid_.MoveTo(6, 1);
  grid_.ScrollToX(0);
  grid_.ScrollToRow(10);
  grid_.ScrollRowIntoView();
  EXPECT_EQ(grid_.TopRow(), 1);
  EXPECT_EQ(grid_.ScrollX(), 0);
}

TEST_F(ScrollingGridTest, TypingChangesOnlyItsCellEverythingElseChangesAll) {
  grid_.TakeChanges();
  EXPECT_FALSE(grid_.TakeChanges().all);
  grid_.MoveTo(2, 3);
  EXPECT_TRUE(grid_.TakeChanges().all);
  grid_.TypeText("ab");
  grid_.SetCellColour(4, 5, 0x123456);
  ColumnGrid::Changes changes = grid_.TakeChanges();
  EXPECT_FALSE(changes.all);
  EXPECT_THAT(changes.cells, ElementsAre(std::pair(2, 3), std::pair(4, 5)));
  EXPECT_TRUE(grid_.TakeChanges().cells.empty());
  grid_.SetViewport(5, 200);  // as it was
  EXPECT_FALSE(grid_.TakeChanges().all);

  struct Case {
    const char* what;
    std::function<void(ColumnGrid&)> change;
  };
  const Case cases[] = {{"scroll down", [](ColumnGrid& g) { g.ScrollToRow(4); }},
                        {"scroll sideways", [](ColumnGrid& g) { g.ScrollToX(10); }},
                        {"viewport", [](ColumnGrid& g) { g.SetViewport(6, 200); }},
                        {"width", [](ColumnGrid& g) { g.SetColumnWidth(4, 20); }},
                        {"hide", [](ColumnGrid& g) { g.SetColumnVisible(5, false); }},
                        {"insert", [](ColumnGrid& g) { g.InsertRow(2); }},
                        {"a fill", [](ColumnGrid& g) {
                           for (int row = 1; row < g.RowCount(); ++row) {
                             for (int col = 0; col < g.ColumnCount(); ++col)
                               g.SetCells(col, row, "x");
                           }
                         }}};
  for (const Case& c : cases) {
    grid_.TakeChanges();
    c.change(grid_);
    EXPECT_TRUE(grid_.TakeChanges().all) << c.what;
  }
}

}  // namespace
}  // namespace tarnvex
