// Feeds arbitrary texts to ParseNumber. A text it accepts gives a finite value
// whose shortest text reads back as the same value, and whose "0.00" form
// reads back within half a hundredth (plus the double's own rounding).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/number_text.h"

namespace {

double ParseOrAbort(const std::string& text) {
  try {
    return tarnvex::ParseNumber(text);
  } catch (const tarnvex::NumberFormatError&) {
    std::abort();  // a text the library wrote itself must read back
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  double value = 0;
  try {
    value = tarnvex::ParseNumber(text);
  } catch (const tarnvex::NumberFormatError&) {
    return 0;
  }
  if (!std::isfinite(value)) std::abort();

  if (ParseOrAbort(tarnvex::ShortestNumberText(value)) != value) std::abort();

  const std::string formatted = tarnvex::FormatNumber(value);
  const double rounded = ParseOrAbort(formatted);
  if (std::fabs(rounded - value) > 0.005 + std::fabs(value) * 1e-15) std::abort();
  if (formatted.starts_with("-0.00") && rounded == 0) std::abort();  // never "-0.00"
  return 0;
}
