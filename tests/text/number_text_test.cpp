#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tarnvex {
namespace {

struct FormatCase {
  double value;
  const char* expected;
};

class FormatNumberTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesTwoDecimalsRoundedHalfAwayFromZero) {
  EXPECT_EQ(FormatNumber(GetParam().value), GetParam().expected);
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatNumberTest,
    testing::Values(
        FormatCase{0, "0.00"}, FormatCase{-0.0, "0.00"}, FormatCase{1234.5, "1234.50"},
        FormatCase{-3, "-3.00"}, FormatCase{100, "100.00"}, FormatCase{2.5, "2.50"},
        FormatCase{0.5, "0.50"}, FormatCase{1234.567, "1234.57"},
        FormatCase{1234567.891, "1234567.89"},
        // Rounded on the decimal form, not on the binary value below it.
        FormatCase{2.675, "2.68"}, FormatCase{1.005, "1.01"}, FormatCase{-2.675, "-2.68"},
        FormatCase{0.005, "0.01"}, FormatCase{0.0049, "0.00"}, FormatCase{1.994, "1.99"},
        // Carries through every digit.
        FormatCase{999.995, "1000.00"}, FormatCase{-9.999, "-10.00"}, FormatCase{0.995, "1.00"},
        // Rounding to zero drops the sign.
        FormatCase{-0.004, "0.00"}, FormatCase{-1e-300, "0.00"}, FormatCase{1e-300, "0.00"},
        FormatCase{std::numeric_limits<double>::denorm_min(), "0.00"}, FormatCase{-0.005, "-0.01"},
        FormatCase{1e21, "1000000000000000000000.00"}, FormatCase{kInfinity, "INF"},
        FormatCase{-kInfinity, "-INF"},
        FormatCase{std::numeric_limits<double>::quiet_NaN(), "NAN"}));

TEST(FormatNumberLimitsTest, WritesEveryDigitOfTheLargestValues) {
  for (double value :
       {1e308, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()}) {
    const std::string text = FormatNumber(value);
    const std::string digits = ShortestNumberText(std::fabs(value));
    ASSERT_EQ(digits.size(), 309u);
    EXPECT_EQ(text, (value < 0 ? "-" : "") + digits + ".00");
    EXPECT_EQ(ParseNumber(text), value);
  }
}

struct ParseCase {
  const char* text;
  double expected;
};

class ParseNumberTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsDecimalWithPoint) {
  EXPECT_EQ(ParseNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, ParseNumberTest,
    testing::Values(ParseCase{"0", 0}, ParseCase{"-0", 0}, ParseCase{"12", 12},
                    ParseCase{"+12", 12}, ParseCase{"-3", -3}, ParseCase{"0.005", 0.005},
                    ParseCase{".5", 0.5}, ParseCase{"5.", 5}, ParseCase{"-.5", -0.5},
                    ParseCase{" 12.5 ", 12.5}, ParseCase{"\t1234.57\r\n", 1234.57},
                    ParseCase{"007.50", 7.5}, ParseCase{"2.675", 2.675}, ParseCase{"100.00", 100}));

TEST(ParseNumberSignTest, MinusZeroIsNegativeZero) { EXPECT_TRUE(std::signbit(ParseNumber("-0"))); }

TEST(ParseNumberRangeTest, ValueTooCloseToZeroReadsAsZero) {
  const std::string tiny = "0." + std::string(400, '0') + "1";
  EXPECT_EQ(ParseNumber(tiny), 0);
  EXPECT_EQ(ParseNumber("-" + tiny), 0);
}

class ParseNumberRejectTest : public testing::TestWithParam<std::string> {};

TEST_P(ParseNumberRejectTest, RaisesErrorNamingTheText) {
  const std::string& text = GetParam();
  try {
    ParseNumber(text);
    FAIL() << "accepted \"" << text << "\"";
  } catch (const NumberFormatError& error) {
    EXPECT_EQ(error.text(), text);
    // what() is a C string, so a NUL in the text ends it there.
    EXPECT_STREQ(error.what(), ("“" + text + "”不是有效的数字").c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Rejected, ParseNumberRejectTest,
                         testing::Values("", "  ", "\t", "+", "-", ".", "-.", "+-1", "--1", "1,5",
                                         "1.2.3", "abc", "12a", "1 2", "inf", "-inf", "nan",
                                         "infinity", "1e5", "1E5", "0x10", "(1)", "计件", "１２",
                                         std::string(400, '9'), "-" + std::string(400, '9'),
                                         std::string(400, '9') + ".5",
                                         std::string("1\0"
                                                     "2",
                                                     3)));

struct ShortestCase {
  double value;
  const char* expected;
};

class ShortestNumberTextTest : public testing::TestWithParam<ShortestCase> {};

TEST_P(ShortestNumberTextTest, WritesShortestPlainDecimal) {
  const std::string text = ShortestNumberText(GetParam().value);
  EXPECT_EQ(text, GetParam().expected);
  EXPECT_EQ(ParseNumber(text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShortestNumberTextTest,
                         testing::Values(ShortestCase{0, "0"}, ShortestCase{100, "100"},
                                         ShortestCase{2.5, "2.5"}, ShortestCase{-0.125, "-0.125"},
                                         ShortestCase{0.1, "0.1"}, ShortestCase{2.675, "2.675"},
                                         ShortestCase{0.1 + 0.2, "0.30000000000000004"},
                                         ShortestCase{1e21, "1000000000000000000000"},
                                         ShortestCase{1.5e-7, "0.00000015"},
                                         ShortestCase{-2147483648.0, "-2147483648"}));

TEST(NumberTextRoundTripTest, FormattedNumbersReadBackRoundedToCents) {
  for (double value : {0.0, 1.0, -3.0, 2.675, 1234.567, -0.995, 99999999.999}) {
    const double read = ParseNumber(FormatNumber(value));
    EXPECT_EQ(FormatNumber(read), FormatNumber(value)) << value;
    EXPECT_NEAR(read, value, 0.005 + 1e-9) << value;
  }
}

}  // namespace
}  // namespace tarnvex
