#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnvex {

// Raised when a text is not a decimal number; what() names the text.
class NumberFormatError : public std::runtime_error {
 public:
  explicit NumberFormatError(std::string_view text);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// The "0.00" pattern: at least one integer digit, exactly two decimals, a point
// whatever the regional settings, no grouping, a leading minus for negatives.
// Rounds half away from zero on the shortest decimal form of the double, so
// 2.675 gives "2.68"; a value that rounds to zero never shows as "-0.00".
// Infinities and NaN come out as "INF", "-INF" and "NAN", which ParseNumber
// refuses, so they can never reach a statement unnoticed.
std::string FormatNumber(double value);

// Parses a decimal number written with a point: optional surrounding blanks, an
// optional sign, digits with at most one point and at least one digit. Anything
// else (two points, letters, exponents, "inf", "nan", an empty text, a value out
// of the double's range) raises NumberFormatError.
double ParseNumber(std::string_view text);

// The shortest text that reads back as the same double ("2.5", "100", "-0.125"),
// always in plain decimal notation with a point, never with an exponent
// (1e21 gives "1000000000000000000000"). Infinities and NaN give "inf", "-inf"
// and "nan".
std::string ShortestNumberText(double value);

}  // namespace tarnvex
