#include "text/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tarnvex {
namespace {

// Literals in this file: "..." are code page 936 bytes, u"..." UTF-16 and
// u8"..." UTF-8.
std::string Utf8Bytes(std::u8string_view text) { return std::string(text.begin(), text.end()); }

struct ChineseText {
  const char* cp936;
  const char16_t* utf16;
  const char8_t* utf8;
};

class ChineseTextTest : public testing::TestWithParam<ChineseText> {};

TEST_P(ChineseTextTest, ConvertsBothWaysWithoutLoss) {
  const ChineseText& text = GetParam();
  EXPECT_EQ(Cp936ToUtf16(text.cp936), text.utf16);
  EXPECT_EQ(Utf16ToCp936(text.utf16), text.cp936);
  EXPECT_EQ(Utf16ToUtf8(text.utf16), Utf8Bytes(text.utf8));
  EXPECT_EQ(Utf8ToUtf16(Utf8Bytes(text.utf8)), text.utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ChineseTextTest,
    testing::Values(
        ChineseText{"", u"", u8""},
        ChineseText{"select * from tbdyjtxm", u"select * from tbdyjtxm",
                    u8"select * from tbdyjtxm"},
        ChineseText{"计件补助", u"计件补助", u8"计件补助"},
        ChineseText{"津贴项目设置", u"津贴项目设置", u8"津贴项目设置"},
        ChineseText{"刷　新", u"刷　新", u8"刷　新"},
        ChineseText{"01 计件补助 (配送)", u"01 计件补助 (配送)", u8"01 计件补助 (配送)"},
        ChineseText{"“abc”不是有效的数字！", u"“abc”不是有效的数字！", u8"“abc”不是有效的数字！"}));

TEST(CodePageBytesTest, IdeographicSpaceIsA1A1) {
  EXPECT_EQ(Utf16ToCp936(u"\u3000"), "\xA1\xA1");
  EXPECT_EQ(Cp936ToUtf16("\xA1\xA1"), u"\u3000");
}

struct InvalidCp936 {
  std::string_view bytes;
  std::u16string_view expected;
};

class InvalidCp936Test : public testing::TestWithParam<InvalidCp936> {};

TEST_P(InvalidCp936Test, ReplacesBadBytesAndKeepsTheRest) {
  EXPECT_EQ(Cp936ToUtf16(GetParam().bytes), GetParam().expected);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Bytes, InvalidCp936Test,
    testing::Values(
        // A lead byte with nothing after it.
        InvalidCp936{"\xBC", u"\uFFFD"}, InvalidCp936{"计件\xBC", u"计件\uFFFD"},
        // A lead byte followed by a byte that cannot trail: only the lead
        // byte is lost.
        InvalidCp936{"\xBC"
                     "1计",
                     u"\uFFFD1计"},
        InvalidCp936{"\xBC\x20"
                     "1",
                     u"\uFFFD 1"},
        InvalidCp936{"\xBC\x7F", u"\uFFFD\x7F"}, InvalidCp936{"\xFF", u"\uFFFD"},
        InvalidCp936{"\xFF\xFF", u"\uFFFD\uFFFD"},
        InvalidCp936{"a\xFF"
                     "b",
                     u"a\uFFFDb"},
        // Code page 936 puts the euro sign at 0x80.
        InvalidCp936{"\x80", u"\u20AC"}, InvalidCp936{"a\0\xFF"sv, u"a\0\uFFFD"sv}));

struct Unmappable {
  std::u16string_view text;
  std::string_view expected;
};

class UnmappableTest : public testing::TestWithParam<Unmappable> {};

TEST_P(UnmappableTest, BecomesQuestionMarkPerUnit) {
  EXPECT_EQ(Utf16ToCp936(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnmappableTest,
    testing::Values(Unmappable{u"\xD800", "?"}, Unmappable{u"\xDC00", "?"},
                    Unmappable{u"计\xD800件", "计?件"}, Unmappable{u"件\xDBFF", "件?"},
                    // Outside the basic plane: both halves of the pair are lost.
                    Unmappable{u"计😀件", "计??件"}, Unmappable{u"\u0E01", "?"},
                    Unmappable{u"a\u0E01b计", "a?b计"}, Unmappable{u"a\0计"sv, "a\0计"sv}));

// Many failures in one call: every one is replaced and nothing between them
// is lost.
TEST(CodePageLongTextTest, RecoversFromEveryBadUnit) {
  std::string bytes;
  std::u16string text;
  std::string expected_bytes;
  std::u16string expected_text;
  for (int i = 0; i < 5000; ++i) {
    bytes += "计\xFF";
    expected_text += u"计\uFFFD";
    text += u"件\xDC00";
    expected_bytes += "件?";
  }
  EXPECT_EQ(Cp936ToUtf16(bytes), expected_text);
  EXPECT_EQ(Utf16ToCp936(text), expected_bytes);
}

struct InvalidUtf8 {
  std::string_view bytes;
  std::u16string_view expected;
};

class InvalidUtf8Test : public testing::TestWithParam<InvalidUtf8> {};

TEST_P(InvalidUtf8Test, ReplacesEachBadSequenceOnce) {
  EXPECT_EQ(Utf8ToUtf16(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, InvalidUtf8Test,
    testing::Values(InvalidUtf8{"\x80", u"\uFFFD"},
                    InvalidUtf8{"\xFF"
                                "a",
                                u"\uFFFDa"},
                    // Truncated: one replacement, and the next character survives.
                    InvalidUtf8{"\xE8\xAE", u"\uFFFD"},
                    InvalidUtf8{"\xE8\xAE"
                                "a",
                                u"\uFFFDa"},
                    InvalidUtf8{"\xF0\x9F\x98", u"\uFFFD"},
                    // Overlong forms.
                    InvalidUtf8{"\xC0\xAF", u"\uFFFD\uFFFD"},
                    InvalidUtf8{"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
                    // An encoded surrogate and a value beyond U+10FFFF.
                    InvalidUtf8{"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                    InvalidUtf8{"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    // The largest valid values of each length.
                    InvalidUtf8{"\x7F\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF",
                                u"\x7F\u07FF\uFFFF\U0010FFFF"},
                    InvalidUtf8{"\xF0\x9F\x98\x80", u"😀"}));

struct LoneSurrogate {
  std::u16string_view text;
  std::string_view utf8;
};

class LoneSurrogateTest : public testing::TestWithParam<LoneSurrogate> {};

TEST_P(LoneSurrogateTest, BecomesReplacementInUtf8) {
  EXPECT_EQ(Utf16ToUtf8(GetParam().text), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, LoneSurrogateTest,
                         testing::Values(LoneSurrogate{u"\xD83D", "\xEF\xBF\xBD"},
                                         LoneSurrogate{u"\xDE00"
                                                       "a",
                                                       "\xEF\xBF\xBD"
                                                       "a"},
                                         LoneSurrogate{u"\xD83D"
                                                       "a",
                                                       "\xEF\xBF\xBD"
                                                       "a"},
                                         // Two highs in a row, then a complete pair.
                                         LoneSurrogate{u"\xD83D\xD83D\xDE00",
                                                       "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
                                         LoneSurrogate{u"\u07FF\uFFFF", "\xDF\xBF\xEF\xBF\xBF"}));

}  // namespace
}  // namespace tarnvex
