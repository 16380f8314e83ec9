// Blocks of cells: the rectangle Shift with the arrows and a drag select, the
// keys that ask for copy, paste and undo, and the tab-separated text that
// spreadsheets put on the clipboard and read back.

#include "widgets/cell_block.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "widgets/column_grid.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using ::testing::ElementsAre;
using Lines = BlockLines;

// Five columns, the third hidden; four data rows.
class GridBlockTest : public ::testing::Test {
 protected:
  GridBlockTest() {
    for (const char* header : {"A", "B", "C", "D", "E"}) grid_.AddColumn({.header = header});
    grid_.SetColumnVisible(2, false);
    for (int row = 2; row <= 4; ++row) grid_.InsertRow(row);
    grid_.OnKeyDown = [this](KeyCode key) { keys_down_.push_back(key); };
    grid_.OnBlockCommand = [this](BlockCommand command) { commands_.push_back(command); };
  }

  void Press(std::initializer_list<KeyCode> keys, KeyModifiers modifiers) {
    for (KeyCode key : keys) grid_.PressKey(key, modifiers);
  }

  ColumnGrid grid_{"grid"};
  std::vector<KeyCode> keys_down_;
  std::vector<BlockCommand> commands_;
};

TEST_F(GridBlockTest, ShiftWithTheArrowsSpansABlockWhileTheCurrentCellStays) {
  struct Case {
    const char* name;
    int col, row;
    std::vector<KeyCode> keys;
    CellBlock block;
  };
  const std::vector<Case> cases = {
      {"right and down", 0, 1, {kKeyRight, kKeyDown, kKeyDown}, {0, 1, 1, 3}},
      // The hidden column is passed over, as the arrows alone do.
      {"over a hidden column", 1, 2, {kKeyRight}, {1, 2, 3, 2}},
      {"up and left of the current cell", 3, 3, {kKeyUp, kKeyLeft}, {1, 2, 3, 3}},
      // The header row and the edges stop the corner.
      {"held at the edges",
       4,
       1,
       {kKeyUp, kKeyRight, kKeyDown, kKeyDown, kKeyDown, kKeyDown},
       {4, 1, 4, 4}},
      {"back to the current cell", 1, 1, {kKeyDown, kKeyUp}, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    grid_.MoveTo(c.col, c.row);
    for (KeyCode key : c.keys) grid_.PressKey(key, kShiftHeld);
    EXPECT_EQ(grid_.Block(), c.block) << c.name;
    EXPECT_EQ(grid_.HasBlock(), (c.block != CellBlock{c.col, c.row, c.col, c.row})) << c.name;
    EXPECT_EQ(grid_.Col(), c.col) << c.name;
    EXPECT_EQ(grid_.Row(), c.row) << c.name;
  }
  // Selecting is not a key the grid's owner sees.
  EXPECT_TRUE(keys_down_.empty());
}

TEST_F(GridBlockTest, AMoveOfTheCurrentCellOrARowInsertedOrRemovedEndsTheBlock) {
  const std::vector<std::pair<const char*, std::function<void()>>> ends = {
      {"arrow", [&] { grid_.PressKey(kKeyDown); }},
      {"click", [&] { grid_.ClickCell(0, 1); }},
      {"row inserted", [&] { grid_.InsertRow(2); }},
      {"row removed", [&] { grid_.RemoveRow(grid_.RowCount() - 1); }},
  };
  for (const auto& [name, end] : ends) {
    grid_.MoveTo(0, 1);
    grid_.ExtendBlock(3, 2);
    ASSERT_TRUE(grid_.HasBlock()) << name;
    end();
    EXPECT_FALSE(grid_.HasBlock()) << name;
    EXPECT_EQ(grid_.Block(), (CellBlock{grid_.Col(), grid_.Row(), grid_.Col(), grid_.Row()}))
        << name;
  }
}

TEST_F(GridBlockTest, ADragToACellScrollsItIntoViewAndRepaintsEverything) {
  grid_.SetViewport(2, 1000);
  grid_.TakeChanges();
  grid_.ExtendBlock(4, 4);
  EXPECT_EQ(grid_.Block(), (CellBlock{0, 1, 4, 4}));
  EXPECT_EQ(grid_.TopRow(), 3);
  EXPECT_TRUE(grid_.TakeChanges().all);
  EXPECT_THROW(grid_.ExtendBlock(0, 0), std::out_of_range);
  EXPECT_THROW(grid_.ExtendBlock(5, 1), std::out_of_range);
}

TEST_F(GridBlockTest, ClipboardKeysAskTheOwnerUnlessACellIsBeingEdited) {
  struct Case {
    KeyCode key;
    KeyModifiers modifiers;
    std::vector<BlockCommand> commands;
  };
  constexpr KeyCode kInsert = 0x2D;
  const std::vector<Case> cases = {
      {'C', kCtrlHeld, {BlockCommand::kCopy}},  {kInsert, kCtrlHeld, {BlockCommand::kCopy}},
      {'V', kCtrlHeld, {BlockCommand::kPaste}}, {kInsert, kShiftHeld, {BlockCommand::kPaste}},
      {'Z', kCtrlHeld, {BlockCommand::kUndo}},  {'C', {}, {}},
      {'V', {.shift = true, .ctrl = true}, {}}, {kInsert, {}, {}},
  };
  for (const Case& c : cases) {
    commands_.clear();
    grid_.MoveTo(0, 1);
    grid_.PressKey(c.key, c.modifiers);
    EXPECT_EQ(commands_, c.commands) << c.key;
    EXPECT_FALSE(grid_.editing()) << c.key;
  }
  // While a cell is typed into, the clipboard keys and Ctrl+Z are its text's,
  // as in any edit.
  commands_.clear();
  grid_.TypeText("ab");
  for (const Case& c : cases) grid_.PressKey(c.key, c.modifiers);
  EXPECT_TRUE(commands_.empty());
  EXPECT_TRUE(grid_.editing());
}

TEST(BlockText, FormatsAndParsesAsSpreadsheetsDo) {
  struct Case {
    const char* name;
    Lines lines;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"one cell", {{"12.5"}}, "12.5"},
      {"three by two", {{"1", "2", "3"}, {"4", "5", "6"}}, "1\t2\t3\r\n4\t5\t6"},
      {"empty cells", {{"", "x", ""}, {"", "", ""}}, "\tx\t\r\n\t\t"},
      {"one empty cell", {{""}}, ""},
      {"double-byte text", {{"计件", "特殊津贴"}, {"删行", "2"}}, "计件\t特殊津贴\r\n删行\t2"},
      {"a leading quote", {{"\"a\"b", "c"}}, "\"\"\"a\"\"b\"\tc"},
      {"a quote inside", {{"5\"", "x"}}, "5\"\tx"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatBlockText(c.lines), c.text) << c.name;
    // A block of one empty cell reads back as nothing to paste.
    if (!c.text.empty()) {
      EXPECT_EQ(ParseBlockText(c.text), c.lines) << c.name;
    }
  }
}

TEST(BlockText, ReadsEveryLineEndAndIgnoresOneAtTheEnd) {
  struct Case {
    const char* name;
    std::string text;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {"CR LF", "1\t2\r\n3\t4", {{"1", "2"}, {"3", "4"}}},
      {"LF", "1\t2\n3\t4", {{"1", "2"}, {"3", "4"}}},
      {"lone CR", "1\r3", {{"1"}, {"3"}}},
      {"trailing CR LF", "1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}},
      {"trailing LF", "1\n", {{"1"}}},
      {"an empty line within", "1\r\n\r\n2\r\n", {{"1"}, {""}, {"2"}}},
      {"two line ends at the end", "1\r\n\r\n", {{"1"}, {""}}},
      {"a trailing tab", "1\t\r\n", {{"1", ""}}},
      {"nothing", "", {}},
      {"only a line end", "\r\n", {{""}}},
      {"quoted line end and tab", "\"a\r\nb\tc\"\td", {{"a\r\nb\tc", "d"}}},
      {"doubled quotes", "\"say \"\"hi\"\"\"", {{"say \"hi\""}}},
      {"double-byte text", "津贴\t限额\r\n计件\t\r\n", {{"津贴", "限额"}, {"计件", ""}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseBlockText(c.text), c.lines) << c.name;
}

}  // namespace
}  // namespace tarnvex
