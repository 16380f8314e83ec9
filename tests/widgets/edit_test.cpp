// The one-line edit: its byte limit and double-byte characters.

#include "widgets/edit.h"

#include <string>

#include <gtest/gtest.h>

#include "widgets/headless/headless_platform.h"

namespace tarnvex {
namespace {

TEST(EditTest, TheLimitCountsBytesAndNeverCutsADoubleByteCharacter) {
  const struct {
    const char* what;
    std::string typed;
    std::string pasted;
    std::string text;
  } kCases[] = {
      {"typed past the limit", "123456", "", "1234"},
      {"a double-byte character that does not fit", "123计", "", "123"},
      {"pasted past the limit", "", "12345", "1234"},
      {"pasted double-byte text cut on a character", "1", "计件", "1计"},
  };
  for (const auto& c : kCases) {
    Edit edit("edt", 4);
    edit.TypeText(c.typed);
    edit.Paste(c.pasted);
    EXPECT_EQ(edit.text(), c.text) << c.what;
  }
}

TEST(EditTest, AFilterThatDiscardsALeadByteDiscardsItsTrailByteToo) {
  Edit edit("edt", 10);
  edit.OnKeyPress = [](char& ch) {
    if (ch < '0' || ch > '9') ch = 0;
  };
  edit.TypeText("1计2");
  EXPECT_EQ(edit.text(), "12");
}

TEST(EditTest, BackspaceRemovesAWholeCharacter) {
  Edit edit("edt", 10);
  edit.TypeText("a计");
  edit.TypeChar(kCharBackspace);
  EXPECT_EQ(edit.text(), "a");
  edit.TypeChar(kCharReturn);
  EXPECT_EQ(edit.text(), "a");
}

// What Windows sends for Ctrl+A, Ctrl+C and Ctrl+V: the key, then its control
// character. The key does the work; the character never becomes text.
TEST(EditTest, ClipboardKeysWorkAndTheirControlCharactersNeverBecomeText) {
  HeadlessPlatform platform;
  Edit edit("edt", 30);
  edit.set_platform(&platform);
  edit.TypeText("津贴");
  edit.PressKey('A', kCtrlHeld);
  edit.TypeChar('\x01');
  edit.PressKey('C', kCtrlHeld);
  edit.TypeChar('\x03');
  EXPECT_EQ(platform.ClipboardText(), "津贴");
  edit.PressKey(kKeyEnd);
  platform.SetClipboardText("名\x16称\r\n");
  edit.PressKey('V', kCtrlHeld);
  edit.TypeChar('\x16');
  edit.PressKey(kKeyInsert, {.shift = true, .ctrl = false});
  EXPECT_EQ(edit.text(), "津贴名称名称");
  EXPECT_EQ(platform.beeps(), 0);
}

TEST(EditTest, APasteTheKeyFilterRefusesChangesNothingAndBeeps) {
  HeadlessPlatform platform;
  Edit edit("edt", 15);
  edit.set_platform(&platform);
  edit.OnKeyPress = [](char& ch) {
    if ((ch < '0' || ch > '9') && ch != kCharBackspace) ch = 0;
  };
  edit.TypeText("12");
  edit.Paste("3a");
  EXPECT_EQ(edit.text(), "12");
  EXPECT_EQ(platform.beeps(), 1);
  edit.Paste("34\r\n");
  EXPECT_EQ(edit.text(), "1234");
  edit.TypeChar('x');
  EXPECT_EQ(platform.beeps(), 2);
}

}  // namespace
}  // namespace tarnvex
