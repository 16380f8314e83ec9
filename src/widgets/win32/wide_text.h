#pragma once

#include <string>
#include <string_view>

#include "text/codepage.h"

namespace tarnvex {

// The W functions take wchar_t, which is UTF-16 on Windows like char16_t.
inline std::wstring ToWide(std::string_view cp936) {
  std::u16string text = Cp936ToUtf16(cp936);
  return std::wstring(text.begin(), text.end());
}

inline std::string FromWide(std::wstring_view text) {
  return Utf16ToCp936(std::u16string(text.begin(), text.end()));
}

}  // namespace tarnvex
