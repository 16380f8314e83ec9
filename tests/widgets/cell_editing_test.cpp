// Editing inside a grid cell: caret mode by F2 or a click, keys inside the
// text, Esc, the clipboard, key filters on typed and pasted text, the beep.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "widgets/column_grid.h"
#include "widgets/headless/headless_platform.h"

namespace tarnvex {
namespace {

// Two text columns, the second for numbers only, over two rows.
class CellEditingTest : public ::testing::Test {
 protected:
  CellEditingTest() {
    grid_.AddColumn({.header = "名称"});
    grid_.AddColumn({.header = "数值", .max_length = 6});
    grid_.InsertRow(2);
    grid_.SetCells(0, 1, "abc");
    grid_.SetCells(1, 1, "12.5");
    grid_.set_platform(&platform_);
    grid_.OnKeyPress = [this](char& ch) {
      const bool digit = (ch >= '0' && ch <= '9') || ch == '.' || ch == kCharBackspace;
      if (grid_.Col() == 1 && !digit) ch = 0;
    };
    grid_.OnPasteRefused = [this](int col, int row, const std::string& text) {
      refused_.push_back(std::to_string(col) + "," + std::to_string(row) + " " + text);
    };
  }

  struct Key {
    KeyCode key;
    KeyModifiers modifiers = {};
  };
  void Press(const std::vector<Key>& keys) {
    for (const Key& key : keys) grid_.PressKey(key.key, key.modifiers);
  }

  HeadlessPlatform platform_;
  ColumnGrid grid_{"grid"};
  std::vector<std::string> refused_;
};

TEST_F(CellEditingTest, CaretModeKeysWorkInsideTheText) {
  const struct {
    const char* what;
    bool click;  // a click into the current cell rather than F2
    std::vector<Key> keys;
    std::string typed;
    std::string text;
    int col;  // where the current cell is afterwards
  } kCases[] = {
      {"F2, Left, typing inserts", false, {{kKeyLeft}}, "X", "abXc", 0},
      {"a click, Home, typing inserts at the start", true, {{kKeyHome}}, "X", "Xabc", 0},
      {"Home, Delete", false, {{kKeyHome}, {kKeyDelete}}, "", "bc", 0},
      {"Shift+Left twice selects, typing replaces",
       false,
       {{kKeyLeft, kShiftHeld}, {kKeyLeft, kShiftHeld}},
       "Z",
       "aZ",
       0},
      {"Shift+Home, Delete", true, {{kKeyHome, kShiftHeld}, {kKeyDelete}}, "", "", 0},
      {"Ctrl+Z takes back a Delete",
       false,
       {{kKeyHome}, {kKeyDelete}, {'Z', kCtrlHeld}},
       "",
       "abc",
       0},
      {"Right at the end leaves the cell to the right", false, {{kKeyRight}}, "", "abc", 1},
      {"Left inside the text stays in the cell", false, {{kKeyLeft}, {kKeyLeft}}, "", "abc", 0},
      {"Left at the start does not leave the first column",
       false,
       {{kKeyHome}, {kKeyLeft}},
       "",
       "abc",
       0},
  };
  for (const auto& c : kCases) {
    ColumnGrid& grid = grid_;
    grid.MoveTo(1, 2);
    grid.MoveTo(0, 1);
    grid.SetCells(0, 1, "abc");
    if (c.click) {
      grid.ClickCell(0, 1);
    } else {
      grid.PressKey(kKeyF2);
    }
    EXPECT_TRUE(grid.caret_mode()) << c.what;
    Press(c.keys);
    grid.TypeText(c.typed);
    EXPECT_EQ(grid.Cells(0, 1), c.text) << c.what;
    EXPECT_EQ(grid.Col(), c.col) << c.what;
  }
}

TEST_F(CellEditingTest, LeftAtTheStartOfTheTextMovesToTheCellOnTheLeft) {
  grid_.MoveTo(1, 1);
  grid_.PressKey(kKeyF2);
  grid_.PressKey(kKeyLeft);
  EXPECT_EQ(grid_.Col(), 1) << "the caret moved inside 12.5";
  grid_.PressKey(kKeyHome);
  grid_.PressKey(kKeyLeft);
  EXPECT_EQ(grid_.Col(), 0);
  EXPECT_FALSE(grid_.caret_mode());
  EXPECT_EQ(grid_.Cells(1, 1), "12.5");
}

TEST_F(CellEditingTest, TypingIntoACellJustEnteredReplacesItAndArrowsStillMoveCells) {
  grid_.MoveTo(0, 1);
  grid_.TypeText("xy");
  EXPECT_EQ(grid_.Cells(0, 1), "xy");
  EXPECT_FALSE(grid_.caret_mode());
  grid_.PressKey(kKeyRight);
  EXPECT_EQ(grid_.Col(), 1);
}

TEST_F(CellEditingTest, EscPutsBackTheTextTheCellHadBeforeTheEdit) {
  for (bool caret : {false, true}) {
    grid_.MoveTo(0, 2);
    grid_.MoveTo(0, 1);
    if (caret) grid_.PressKey(kKeyF2);
    grid_.PressKey(kKeyHome);
    grid_.TypeText("12");
    grid_.PressKey(kKeyDelete);
    grid_.PressKey(kKeyEscape);
    EXPECT_EQ(grid_.Cells(0, 1), "abc") << caret;
    EXPECT_FALSE(grid_.editing());
  }
}

// A cell the operator changed is checked as it is left, by every way out.
TEST_F(CellEditingTest, AnEditedCellIsCheckedWhenLeftAndARefusedOneKeepsTheCaret) {
  std::vector<std::string> checked;
  grid_.OnCellExit = [&](int col, int row, std::string& text, bool& accept) {
    checked.push_back(std::to_string(col) + "," + std::to_string(row) + " " + text);
    accept = text != "bad";
    if (text == "7") text = "7.00";
  };
  const struct {
    const char* what;
    std::function<bool()> leave;  // true when the grid reports leaving
  } kWaysOut[] = {
      {"Enter",
       [&] {
         grid_.PressKey(kKeyReturn);
         return grid_.Col() != 1;
       }},
      {"an arrow",
       [&] {
         grid_.PressKey(kKeyDown);
         return grid_.Row() != 1;
       }},
      {"a click",
       [&] {
         grid_.ClickCell(0, 2);
         return grid_.Row() != 1;
       }},
      {"a command", [&] { return grid_.LeaveCell(); }},
  };
  for (const auto& way : kWaysOut) {
    SCOPED_TRACE(way.what);
    checked.clear();
    grid_.MoveTo(0, 2);
    grid_.SetCells(1, 1, "12.5");
    grid_.MoveTo(1, 1);
    EXPECT_TRUE(way.leave());  // nothing typed: nothing to check
    EXPECT_TRUE(checked.empty());

    grid_.MoveTo(1, 1);
    grid_.TypeChar('7');
    grid_.TypeChar(kCharBackspace);
    grid_.Paste("1");
    grid_.TypeChar(kCharBackspace);
    grid_.TypeChar('7');
    EXPECT_TRUE(way.leave());
    EXPECT_EQ(grid_.Cells(1, 1), "7.00");
    EXPECT_EQ(checked, std::vector<std::string>{"1,1 7"});
  }
  // Refused: the cell stays, its text selected; Esc puts back the text from
  // before the edit, even after the refusal.
  grid_.OnKeyPress = nullptr;  // letters into the number column
  grid_.MoveTo(0, 2);
  grid_.MoveTo(1, 1);
  grid_.TypeText("bad");
  grid_.PressKey(kKeyReturn);
  EXPECT_EQ(grid_.Col(), 1);
  EXPECT_TRUE(grid_.caret_mode());
  EXPECT_EQ(grid_.TextAnchor(), 0u);
  EXPECT_EQ(grid_.TextCaret(), 3u);
  EXPECT_FALSE(grid_.MoveTo(0, 2));
  EXPECT_FALSE(grid_.LeaveCell());
  grid_.PressKey(kKeyEscape);
  EXPECT_EQ(grid_.Cells(1, 1), "7.00");
  EXPECT_TRUE(grid_.MoveTo(0, 2));
}

// A list dropped down from a cell: its keys while open, and what it puts in.
TEST_F(CellEditingTest, APickListDropsDownChoosesAndPutsItsItemInAsAPasteWould) {
  grid_.SetPickList(0, {"abc", "计件", "toolong"});
  std::vector<std::string> edited;
  grid_.OnEdited = [&](int, int) { edited.push_back(grid_.Cells(grid_.Col(), grid_.Row())); };
  grid_.MoveTo(0, 1);
  grid_.PressKey(kKeyF4);
  ASSERT_TRUE(grid_.dropped_down());
  EXPECT_EQ(grid_.picked(), 0) << "the cell's own text";
  grid_.PressKey(kKeyDown);
  grid_.PressKey(kKeyDown);
  grid_.PressKey(kKeyUp);
  EXPECT_EQ(grid_.Row(), 1) << "the arrows are the list's";
  grid_.PressKey(kKeyReturn);
  EXPECT_FALSE(grid_.dropped_down());
  EXPECT_EQ(grid_.Cells(0, 1), "计件");
  EXPECT_EQ(grid_.Col(), 0) << "Enter in the list only picks";

  grid_.DropDown();
  grid_.PressKey(kKeyDown);
  grid_.PressKey(kKeyEscape);
  EXPECT_EQ(grid_.Cells(0, 1), "计件");
  grid_.DropDown();
  grid_.MoveTo(0, 2);
  EXPECT_FALSE(grid_.dropped_down()) << "a move closes it";
  grid_.DropDown();
  grid_.PickItem(0);
  EXPECT_EQ(grid_.Cells(0, 2), "abc");
  EXPECT_EQ(edited, (std::vector<std::string>{"", "计件", "abc"}));

  // The cell's rules hold for a picked item as for a paste.
  grid_.OnKeyPress = [](char& ch) {
    if (ch == 't') ch = 0;
  };
  grid_.DropDown();
  grid_.PickItem(2);
  EXPECT_EQ(grid_.Cells(0, 2), "abc");
  EXPECT_EQ(refused_, std::vector<std::string>{"0,2 toolong"});
  // No list in the number column: F4 opens nothing.
  grid_.MoveTo(1, 2);
  grid_.PressKey(kKeyF4);
  EXPECT_FALSE(grid_.dropped_down());
}

// A peer closes the list when its grid loses the focus or its window moves:
// nothing is taken, and the keys are the grid's again.
TEST_F(CellEditingTest, APickListClosedByItsPeerTakesNothing) {
  grid_.SetPickList(0, {"abc", "计件"});
  int edits = 0;
  grid_.OnEdited = [&](int, int) { ++edits; };
  grid_.DropDown();
  grid_.PressKey(kKeyDown);
  grid_.CloseDropDown();
  EXPECT_FALSE(grid_.dropped_down());
  EXPECT_EQ(grid_.Cells(0, 1), "abc");
  EXPECT_EQ(edits, 0);
  grid_.PressKey(kKeyDown);
  EXPECT_EQ(grid_.Row(), 2) << "Down moves the cell again";
}

// OnEdited tells each change the operator makes to a cell's text, and only those.
TEST_F(CellEditingTest, EveryChangeOfACellsTextByInputIsToldAndNothingElse) {
  std::vector<std::string> told;
  grid_.OnEdited = [&](int col, int row) {
    told.push_back(std::to_string(col) + "," + std::to_string(row) + " " + grid_.Cells(col, row));
  };
  grid_.MoveTo(0, 1);
  grid_.PressKey(kKeyF2);
  grid_.PressKey(kKeyHome);  // the caret moves, the text stays
  grid_.TypeChar('x');
  grid_.PressKey(kKeyDelete);
  grid_.TypeChar(kCharBackspace);
  grid_.PressKey(kKeyEscape);
  grid_.SetCells(0, 2, "set");  // the program's own, not the operator's
  grid_.MoveTo(1, 1);
  grid_.Paste("7");
  EXPECT_EQ(told, (std::vector<std::string>{"0,1 xabc", "0,1 xbc", "0,1 bc", "0,1 abc", "1,1 ",
                                            "1,1 7"}));
}

TEST_F(CellEditingTest, ADoubleByteCharacterIsNeverSplit) {
  grid_.MoveTo(0, 1);
  grid_.TypeText("计件");
  grid_.PressKey(kKeyF2);
  grid_.PressKey(kKeyLeft);
  EXPECT_EQ(grid_.TextCaret(), 2u);
  grid_.TypeText("津");
  EXPECT_EQ(grid_.Cells(0, 1), "计津件");
  grid_.SelectText(1, 5);  // a click halfway into a character snaps to its start
  EXPECT_EQ(grid_.TextAnchor(), 0u);
  EXPECT_EQ(grid_.TextCaret(), 4u);
  grid_.TypeChar(kCharBackspace);
  EXPECT_EQ(grid_.Cells(0, 1), "件");
}

TEST_F(CellEditingTest, ADiscardedCharacterBeepsAndControlCharactersAreNeverText) {
  grid_.MoveTo(1, 1);
  grid_.TypeText("1a");
  EXPECT_EQ(grid_.Cells(1, 1), "1");
  EXPECT_EQ(platform_.beeps(), 1);
  grid_.TypeText("计");  // both bytes go with the discarded lead byte, one beep
  EXPECT_EQ(platform_.beeps(), 2);
  grid_.MoveTo(0, 1);
  grid_.TypeText(
      "a\x16\x01\x7F\x03"
      "b");
  EXPECT_EQ(grid_.Cells(0, 1), "ab");
  EXPECT_EQ(platform_.beeps(), 2) << "control characters are keys, not refused text";
}

TEST_F(CellEditingTest, PasteGoesThroughTheColumnsRulesAllOrNothing) {
  const struct {
    const char* what;
    int col;
    bool caret;  // F2 and End first, so the paste goes in at the end
    std::string clipboard;
    std::string text;
    bool refused;
  } kCases[] = {
      {"a name pasted over a cell just entered", 0, false, "名称\r\n", "名称", false},
      {"control characters left out", 0, false,
       "a\x16"
       "b\tc",
       "abc", false},
      {"only the first line", 0, false, "one\r\ntwo", "one", false},
      {"pasted at the caret", 0, true, "XY", "abcXY", false},
      {"a number", 1, false, "7.25\r\n", "7.25", false},
      {"past the column's limit refuses it all", 1, true, "345", "12.5", true},
      {"up to the column's limit", 1, true, "34", "12.534", false},
      {"a minus sign refuses it all", 1, false, "-5", "12.5", true},
      {"a letter refuses it all", 1, true, "1e3", "12.5", true},
  };
  for (const auto& c : kCases) {
    refused_.clear();
    grid_.MoveTo(c.col, 2);
    grid_.SetCells(0, 1, "abc");
    grid_.SetCells(1, 1, "12.5");
    grid_.MoveTo(c.col, 1);
    // Into the text with the caret at its end, by the key; over the cell just
    // entered, by the paste of its edit window. (Ctrl+V on a cell not being
    // edited is a block's paste, the owner's business.)
    if (c.caret) {
      Press({{kKeyF2}, {kKeyEnd}});
      platform_.SetClipboardText(c.clipboard);
      grid_.PressKey('V', kCtrlHeld);
    } else {
      grid_.Paste(c.clipboard);
    }
    EXPECT_EQ(grid_.Cells(c.col, 1), c.text) << c.what;
    EXPECT_EQ(refused_.size(), c.refused ? 1u : 0u) << c.what;
  }
  EXPECT_EQ(refused_.front(), "1,1 1e3");
}

TEST_F(CellEditingTest, ClipboardKeysCopyCutAndPaste) {
  grid_.MoveTo(0, 1);
  grid_.PressKey(kKeyF2);
  Press({{kKeyLeft, kShiftHeld}, {'X', kCtrlHeld}});
  EXPECT_EQ(platform_.ClipboardText(), "c");
  EXPECT_EQ(grid_.Cells(0, 1), "ab");
  Press({{kKeyHome}, {kKeyInsert, kShiftHeld}});
  EXPECT_EQ(grid_.Cells(0, 1), "cab");
  Press({{'A', kCtrlHeld}, {kKeyInsert, kCtrlHeld}});
  EXPECT_EQ(platform_.ClipboardText(), "cab");
  Press({{kKeyDelete, kShiftHeld}});
  EXPECT_EQ(grid_.Cells(0, 1), "");
  grid_.PressKey('Z', kCtrlHeld);
  EXPECT_EQ(grid_.Cells(0, 1), "cab");
}

}  // namespace
}  // namespace tarnvex
