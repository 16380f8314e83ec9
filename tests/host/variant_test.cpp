#include "host/variant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace tarnvex {
namespace {

struct TextCase {
  Variant value;
  std::optional<std::u16string> wide;
  std::optional<std::string> cp936;
};

class VariantTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(VariantTextTest, ConvertsLikeAutomation) {
  EXPECT_EQ(GetParam().value.ToWideText(), GetParam().wide);
  EXPECT_EQ(GetParam().value.ToText(), GetParam().cp936);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, VariantTextTest,
    testing::Values(
        TextCase{Variant(), u"", ""}, TextCase{Variant::Null(), std::nullopt, std::nullopt},
        TextCase{Variant(true), u"True", "True"}, TextCase{Variant(false), u"False", "False"},
        TextCase{Variant(int32_t{0}), u"0", "0"}, TextCase{Variant(int32_t{-42}), u"-42", "-42"},
        TextCase{Variant(std::numeric_limits<int32_t>::min()), u"-2147483648", "-2147483648"},
        // Doubles: shortest form, point, never an exponent.
        TextCase{Variant(100.0), u"100", "100"}, TextCase{Variant(2.5), u"2.5", "2.5"},
        TextCase{Variant(-0.125), u"-0.125", "-0.125"}, TextCase{Variant(2.675), u"2.675", "2.675"},
        TextCase{Variant(1e21), u"1000000000000000000000", "1000000000000000000000"},
        TextCase{Variant(0.00000015), u"0.00000015", "0.00000015"}, TextCase{Variant(u""), u"", ""},
        TextCase{Variant(u"计件补助"), u"计件补助", "计件补助"},
        TextCase{Variant(u"刷　新"), u"刷　新", "刷　新"},
        // A character that code page 936 lacks only shows in the bytes.
        TextCase{Variant(u"a\xD800"
                         "b"),
                 u"a\xD800"
                 "b",
                 "a?b"},
        TextCase{Variant(std::vector<uint8_t>{1, 2}), std::nullopt, std::nullopt},
        TextCase{Variant(std::vector<uint8_t>{}), std::nullopt, std::nullopt},
        TextCase{Variant(VariantArray{0, {Variant(u"a")}}), std::nullopt, std::nullopt}));

TEST(VariantFromTextTest, MakesWideStringFromCp936) {
  const Variant value = Variant::FromText("津贴项目设置");
  ASSERT_EQ(value.kind(), Variant::Kind::kString);
  EXPECT_EQ(value.as_string(), u"津贴项目设置");
  EXPECT_EQ(value.ToText(), "津贴项目设置");
}

TEST(VariantFromTextTest, EmptyTextIsEmptyStringNotEmptyVariant) {
  const Variant value = Variant::FromText("");
  EXPECT_EQ(value.kind(), Variant::Kind::kString);
  EXPECT_EQ(value.as_string(), u"");
}

TEST(VariantFromTextTest, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Variant::FromText("计件\xBC").as_string(), u"计件\uFFFD");
}

}  // namespace
}  // namespace tarnvex
