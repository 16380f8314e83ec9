// The one-line text model of edits and grid cells: caret, selection, undo,
// clipboard keys, limits, double-byte characters and control characters.

#include "widgets/text_editor.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "widgets/headless/headless_platform.h"

namespace tarnvex {
namespace {

struct Key {
  KeyCode key;
  KeyModifiers modifiers = {};
};

// Starts from text with the caret at its end, presses the keys, then types.
struct Case {
  const char* what;
  std::string text;
  std::vector<Key> keys;
  std::string typed;
  std::string want_text;
  size_t want_caret;
  size_t want_anchor;
};

TEST(TextEditorTest, KeysEditInsideTheTextAsAWindowsEditDoes) {
  const Case kCases[] = {
      {"Left then type inserts before the last character", "abc", {{kKeyLeft}}, "X", "abXc", 3, 3},
      {"Home then type inserts at the start", "abc", {{kKeyHome}}, "X", "Xabc", 1, 1},
      {"End after Home goes back to the end", "abc", {{kKeyHome}, {kKeyEnd}}, "X", "abcX", 4, 4},
      {"Delete removes the character after the caret",
       "abc",
       {{kKeyHome}, {kKeyDelete}},
       "",
       "bc",
       0,
       0},
      {"Delete at the end does nothing", "abc", {{kKeyDelete}}, "", "abc", 3, 3},
      {"Shift+Left selects, typing replaces the selection",
       "abcd",
       {{kKeyLeft, kShiftHeld}, {kKeyLeft, kShiftHeld}},
       "X",
       "abX",
       3,
       3},
      {"Shift+Home selects to the start", "abc", {{kKeyHome, kShiftHeld}}, "", "abc", 0, 3},
      {"Left on a selection goes to its start",
       "abcd",
       {{kKeyLeft, kShiftHeld}, {kKeyLeft, kShiftHeld}, {kKeyLeft}},
       "",
       "abcd",
       2,
       2},
      {"Right on a selection goes to its end",
       "abcd",
       {{kKeyHome, kShiftHeld}, {kKeyRight}},
       "",
       "abcd",
       4,
       4},
      {"Ctrl+A selects all, Delete empties", "abc", {{'A', kCtrlHeld}, {kKeyDelete}}, "", "", 0, 0},
      {"Left steps over a double-byte character whole", "a计", {{kKeyLeft}}, "X", "aX计", 2, 2},
      {"Right steps over a double-byte character whole",
       "计件",
       {{kKeyHome}, {kKeyRight}},
       "X",
       "计X件",
       3,
       3},
      {"Delete removes a double-byte character whole",
       "计件",
       {{kKeyHome}, {kKeyDelete}},
       "",
       "件",
       0,
       0},
      {"Shift+Left selects a double-byte character whole",
       "a计",
       {{kKeyLeft, kShiftHeld}},
       "",
       "a计",
       1,
       3},
      {"control characters typed never enter", "ab", {}, "\x16\x01\x7F\x1B", "ab", 2, 2},
  };
  for (const Case& c : kCases) {
    TextEditor editor;
    editor.Reset(c.text);
    for (const Key& key : c.keys) editor.PressKey(key.key, key.modifiers, nullptr);
    if (!c.typed.empty()) editor.Insert(c.typed, true);
    EXPECT_EQ(editor.text(), c.want_text) << c.what;
    EXPECT_EQ(editor.caret(), c.want_caret) << c.what;
    EXPECT_EQ(editor.anchor(), c.want_anchor) << c.what;
  }
}

TEST(TextEditorTest, LeftAndRightAtTheTextsEndsAreNotTheTexts) {
  TextEditor editor;
  editor.Reset("ab");
  EXPECT_EQ(editor.PressKey(kKeyRight, {}, nullptr), TextEditor::KeyResult::kNotMine);
  editor.PressKey(kKeyHome, {}, nullptr);
  EXPECT_EQ(editor.PressKey(kKeyLeft, {}, nullptr), TextEditor::KeyResult::kNotMine);
  // With Shift the selection stays put, and the key is used up.
  EXPECT_EQ(editor.PressKey(kKeyLeft, kShiftHeld, nullptr), TextEditor::KeyResult::kDone);
  EXPECT_EQ(editor.PressKey('V', kCtrlHeld, nullptr), TextEditor::KeyResult::kPaste);
  EXPECT_EQ(editor.PressKey(kKeyInsert, kShiftHeld, nullptr), TextEditor::KeyResult::kPaste);
}

TEST(TextEditorTest, UndoStepsBackThroughChangesAndTypingRuns) {
  TextEditor editor;
  editor.Reset("名称");
  editor.Insert("一", true);
  editor.Insert("二", true);
  editor.PressKey(kKeyHome, {}, nullptr);
  editor.PressKey(kKeyDelete, {}, nullptr);
  EXPECT_EQ(editor.text(), "称一二");
  editor.PressKey('Z', kCtrlHeld, nullptr);
  EXPECT_EQ(editor.text(), "名称一二");
  editor.PressKey('Z', kCtrlHeld, nullptr);
  EXPECT_EQ(editor.text(), "名称");
  EXPECT_FALSE(editor.Undo());
}

TEST(TextEditorTest, ClipboardKeysCopyCutAndLeaveTheClipboardAloneWithoutASelection) {
  HeadlessPlatform clipboard;
  TextEditor editor;
  editor.Reset("计件津贴");
  editor.PressKey('C', kCtrlHeld, &clipboard);
  EXPECT_FALSE(clipboard.ClipboardText()) << "nothing selected, nothing copied";
  editor.PressKey(kKeyHome, {}, &clipboard);
  editor.PressKey(kKeyRight, kShiftHeld, &clipboard);
  editor.PressKey(kKeyRight, kShiftHeld, &clipboard);
  editor.PressKey(kKeyInsert, kCtrlHeld, &clipboard);
  EXPECT_EQ(clipboard.ClipboardText(), "计件");
  editor.PressKey(kKeyEnd, kShiftHeld, &clipboard);
  editor.PressKey('X', kCtrlHeld, &clipboard);
  EXPECT_EQ(clipboard.ClipboardText(), "计件津贴");
  EXPECT_EQ(editor.text(), "");
  editor.Insert("ab");
  editor.PressKey(kKeyLeft, kShiftHeld, &clipboard);
  editor.PressKey(kKeyDelete, kShiftHeld, &clipboard);
  EXPECT_EQ(clipboard.ClipboardText(), "b");
  EXPECT_EQ(editor.text(), "a");
}

TEST(TextEditorTest, InsertKeepsToTheLimitOnWholeCharacters) {
  TextEditor editor(5);
  editor.Reset("ab");
  EXPECT_FALSE(editor.Insert("计件"));
  EXPECT_EQ(editor.text(), "ab计");
  EXPECT_FALSE(editor.Insert("件"));
  EXPECT_EQ(editor.text(), "ab计");
  editor.SelectAll();
  EXPECT_TRUE(editor.Insert("12345"));
  EXPECT_EQ(editor.text(), "12345");
}

TEST(TextEditorTest, APasteIsOneLineWithoutControlCharacters) {
  const struct {
    const char* pasted;
    const char* line;
  } kCases[] = {
      {"12.5\r\n", "12.5"},
      {"名称\n", "名称"},
      {"first\r\nsecond\r\n", "first"},
      {"a\tb\x16\x7F"
       "c",
       "abc"},
      {"\r\n", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(OneLineOfPaste(c.pasted), c.line) << c.pasted;
}

}  // namespace
}  // namespace tarnvex
