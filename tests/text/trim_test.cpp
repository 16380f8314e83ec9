#include "text/trim.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tarnvex {
namespace {

struct TrimCase {
  std::string_view text;
  std::string_view expected;
};

class TrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, RemovesBlanksAndControlsAtBothEnds) {
  EXPECT_EQ(Trim(GetParam().text), GetParam().expected);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimTest,
    testing::Values(TrimCase{"", ""}, TrimCase{"   ", ""}, TrimCase{"\t\r\n", ""},
                    TrimCase{"01", "01"}, TrimCase{"  01  ", "01"}, TrimCase{"\t01\r\n", "01"},
                    // Every byte up to 0x20 counts, NUL included; DEL does not.
                    TrimCase{"\0\x01 01\x1F\x20"sv, "01"},
                    TrimCase{"\x7F"
                             "01",
                             "\x7F"
                             "01"},
                    // Blanks inside stay.
                    TrimCase{" 01 计件 ", "01 计件"},
                    // Double-byte characters at either end are kept whole, and the
                    // ideographic space (bytes A1 A1) is a character, not a blank.
                    TrimCase{" 计件补助\t", "计件补助"}, TrimCase{"　刷　新　", "　刷　新　"}));

}  // namespace
}  // namespace tarnvex
