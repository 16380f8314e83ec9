#include "host/sql_dialect.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tarnvex {
namespace {

struct AdaptCase {
  const char* input;
  const char* expected;
};

class AdaptSqlAnsiTest : public ::testing::TestWithParam<AdaptCase> {};

TEST_P(AdaptSqlAnsiTest, RewritesForAnsiDialect) {
  EXPECT_EQ(AdaptSql(GetParam().input, true), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AdaptSqlAnsiTest,
    ::testing::Values(
        AdaptCase{"select isnull(f_bz,'') from tbdyjtxmda",
                  "select Coalesce(f_bz,'') from tbdyjtxmda"},
        AdaptCase{"where len(f_jtxmbm)=3", "where Length(f_jtxmbm)=3"},
        AdaptCase{"SubString(f_lb,1,2)", "substr(f_lb,1,2)"},
        AdaptCase{"Update TBDYJTXMDA set", "Update tbDYJTXMDA set"},
        AdaptCase{"Update tbDyJtxmda set ", "Update tbDyJtxmda set "},
        AdaptCase{"a.f_cxbm=TBB.x", "a.f_cxbm=tbB.x"},
        AdaptCase{"select a,TBX.b", "select a,tbX.b"},
        AdaptCase{"select xisnull(", "select xCoalesce("}, AdaptCase{"mylen(", "myLength("},
        AdaptCase{"isnull(isnull(a,0),1)", "Coalesce(Coalesce(a,0),1)"}, AdaptCase{"", ""},
        // A table name at the start, after "(", a tab or a line break is left alone.
        AdaptCase{"TBX", "TBX"}, AdaptCase{"(TBX)", "(TBX)"}, AdaptCase{"from\tTBX", "from\tTBX"},
        AdaptCase{"from\r\nTBX", "from\r\nTBX"},
        // Operator data inside literals is never rewritten, doubled quotes included.
        AdaptCase{"f_jtxmmc=' TBC'", "f_jtxmmc=' TBC'"},
        AdaptCase{"set f_mc='it''s isnull( TB',f_lb=TBX where f_bz=' len('",
                  "set f_mc='it''s isnull( TB',f_lb=tbX where f_bz=' len('"},
        AdaptCase{"select 'unterminated isnull( TB", "select 'unterminated isnull( TB"},
        AdaptCase{"''isnull(", "''Coalesce("},
        // Chinese text around the patterns keeps its bytes.
        AdaptCase{"select isnull(f_lb,'计件') from TBDYJTXMDA where f_lb='配送 TB'",
                  "select Coalesce(f_lb,'计件') from tbDYJTXMDA where f_lb='配送 TB'"}));

TEST(AdaptSqlTest, FlagFalseReturnsInputUnchanged) {
  for (const char* text : {"select isnull(a,0) from TBX", "x=' TBC'", "", "SUBSTRING LEN( ,TB"}) {
    EXPECT_EQ(AdaptSql(text, false), text);
  }
}

// A batch adapts statement after statement through one buffer: what the
// buffer holds stays in front, in both dialects.
TEST(AdaptSqlTest, AppendingKeepsWhatTheBufferHolds) {
  std::string out = "x=' TB',";
  AppendAdaptedSql("f=TBX where len(a)", true, out);
  EXPECT_EQ(out, "x=' TB',f=tbX where Length(a)");
  AppendAdaptedSql(" ISNULL(", false, out);
  EXPECT_EQ(out, "x=' TB',f=tbX where Length(a) ISNULL(");
}

// The rewrite done the long way: six passes one after the other over a search
// copy in capitals and an output copy, as the host's own tools do it.
std::string SixPasses(const std::string& input) {
  const std::vector<std::pair<std::string, std::string>> passes = {
      {"ISNULL(", "Coalesce("}, {"LEN(", "Length("}, {" TB", " tb"},
      {",TB", ",tb"},           {"=TB", "=tb"},      {"SUBSTRING", "substr"}};
  auto upper = [](std::string s) {
    for (char& c : s) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return s;
  };
  std::string out = input;
  std::string search = upper(input);
  for (const auto& [pattern, replacement] : passes) {
    std::string new_out, new_search;
    size_t from = 0;
    for (size_t at = search.find(pattern); at != std::string::npos;
         at = search.find(pattern, from)) {
      new_out += out.substr(from, at - from) + replacement;
      new_search += search.substr(from, at - from) + upper(replacement);
      from = at + pattern.size();
    }
    out = new_out + out.substr(from);
    search = new_search + search.substr(from);
  }
  return out;
}

TEST(AdaptSqlTest, OneScanAgreesWithSixPassesOutsideLiterals) {
  // Texts built from fragments that make matches, near misses and neighbours.
  const std::vector<std::string> pieces = {
      "isnull(", "IsNull(", "isnul", "len(",      "LEN",    "le",       " tb",       " Tb",
      ",tB",     "=TB",     "=t",    "substring", "SUBSTR", "substrin", "x",         " ",
      ",",       "=",       "(",     "b",         "计件",   "\t",       "lenisnull("};
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);  // long enough for the 16-byte scan
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int i = length(rng); i > 0; --i) text += pieces[pick(rng)];
    ASSERT_EQ(AdaptSql(text, true), SixPasses(text)) << text;
  }
}

TEST(AdaptSqlTest, QuotedStretchesSurviveByteForByte) {
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {"isnull(", " TB", ",tb", "=Tb", "len(", "substring",
                                           "'",       "''",  "a",   " ",   "计"};
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = 0; i < 10; ++i) text += pieces[pick(rng)];
    // Rewriting each stretch between quotes on its own must give the same text:
    // literals verbatim, everything else rewritten.
    std::string expected;
    bool in_literal = false;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size() || text[i] == '\'') {
        const std::string stretch = text.substr(start, i - start);
        expected += in_literal ? stretch : SixPasses(stretch);
        if (i < text.size()) expected += '\'';
        in_literal = !in_literal;
        start = i + 1;
      }
    }
    ASSERT_EQ(AdaptSql(text, true), expected) << text;
  }
}

}  // namespace
}  // namespace tarnvex
