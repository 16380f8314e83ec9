#include "host/host_error.h"

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

Variant Lines(int32_t lower_bound, std::vector<Variant> elements) {
  return Variant(VariantArray{lower_bound, std::move(elements)});
}

struct ErrorTextCase {
  const char* name;
  Variant error;
  std::string expected;
};

class HostErrorTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(HostErrorTextTest, BuildsLines) {
  EXPECT_EQ(HostErrorText(GetParam().error), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostErrorTextTest,
    ::testing::Values(
        ErrorTextCase{"TwoLines", Lines(0, {Variant(u"第一行"), Variant(u"second")}),
                      "第一行\r\nsecond"},
        ErrorTextCase{"BoundsReadFromTheValue",
                      Lines(5, {Variant(u"a"), Variant(u"b"), Variant(u"c")}), "a\r\nb\r\nc"},
        ErrorTextCase{"NumbersConvert", Lines(0, {Variant(int32_t{42}), Variant(2.5)}),
                      "42\r\n2.5"},
        ErrorTextCase{"EmptyArrayGivesEmptyText", Lines(0, {}), ""},
        ErrorTextCase{"EmptyVariant", Variant(), "未知错误！"},
        ErrorTextCase{"NotAnArray", Variant(u"oops"), "未知错误！"},
        ErrorTextCase{"UnreadableElementEndsTheText",
                      Lines(1, {Variant(u"kept"), Variant::Null(), Variant(u"never read")}),
                      "kept\r\n未知错误！"},
        ErrorTextCase{"NestedArrayIsNotText", Lines(0, {Lines(0, {Variant(u"x")})}), "未知错误！"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnvex
