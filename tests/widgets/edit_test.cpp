// The one-line edit: its byte limit and double-byte characters.

#include "widgets/edit.h"

#include <string>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarnvex
