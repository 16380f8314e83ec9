#include "text/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "text/trim.h"

namespace tarnvex {

namespace {

// The longest double in plain decimal notation is a negative subnormal: a
// sign, "0." and 324 fractional digits.
constexpr size_t kFixedBufferSize = 512;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Adds one unit in the last place of a string of decimal digits.
void IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

NumberFormatError::NumberFormatError(std::string_view text)
    : std::runtime_error("“" + std::string(text) + "”不是有效的数字"), text_(text) {}

std::string ShortestNumberText(double value) {
  std::array<char, kFixedBufferSize> buffer;
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  return std::string(buffer.data(), result.ptr);
}

std::string FormatNumber(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  // Rounding the shortest decimal form rather than the binary value is what
  // makes 2.675 (stored as 2.67499999...) come out as the 2.68 the operator
  // typed.
  const std::string shortest = ShortestNumberText(std::fabs(value));
  const size_t point = shortest.find('.');
  const std::string_view whole = std::string_view(shortest).substr(0, point);
  const std::string_view fraction = point == std::string::npos
                                        ? std::string_view()
                                        : std::string_view(shortest).substr(point + 1);

  // All digits of the result, the last two being the decimals.
  std::string digits(whole);
  digits.append(fraction.substr(0, 2));
  digits.append(2 - std::min<size_t>(fraction.size(), 2), '0');
  // Working on the magnitude makes rounding up the same as away from zero.
  if (fraction.size() > 2 && fraction[2] >= '5') IncrementDigits(digits);

  const bool is_zero = digits.find_first_not_of('0') == std::string::npos;
  std::string text;
  text.reserve(digits.size() + 2);
  if (std::signbit(value) && !is_zero) text += '-';
  text.append(digits, 0, digits.size() - 2);
  text += '.';
  text.append(digits, digits.size() - 2, 2);
  return text;
}

double ParseNumber(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::string_view number = trimmed;
  bool negative = false;
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }

  // from_chars alone would also take "inf", "nan" and hexadecimal digits, so
  // the form is checked here first.
  size_t digit_count = 0;
  size_t point_count = 0;
  for (char c : number) {
    if (IsDigit(c)) {
      ++digit_count;
    } else if (c == '.') {
      ++point_count;
    } else {
      throw NumberFormatError(text);
    }
  }
  if (digit_count == 0 || point_count > 1) throw NumberFormatError(text);

  double magnitude = 0;
  const char* const end = number.data() + number.size();
  const auto [stop, error] =
      std::from_chars(number.data(), end, magnitude, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    // Below one the only way out of range is too close to zero, which is a
    // valid amount of nothing; at one or more it is too large to hold.
    const std::string_view whole = number.substr(0, number.find('.'));
    if (whole.find_first_not_of('0') != std::string_view::npos) {
      throw NumberFormatError(text);
    }
    magnitude = 0;
  } else if (error != std::errc() || stop != end) {
    throw NumberFormatError(text);
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace tarnvex
