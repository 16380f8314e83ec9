#pragma once

#include <string>
#include <string_view>

namespace tarnvex {

// Conversion between code page 936 (GBK) bytes and UTF-16. Both directions
// accept any input: an invalid or incomplete byte sequence becomes U+FFFD, and a
// character that code page 936 cannot hold becomes '?', as the Windows
// conversion functions do with their default characters.
std::u16string Cp936ToUtf16(std::string_view bytes);
std::string Utf16ToCp936(std::u16string_view text);

// UTF-8 helpers for the places that talk to UTF-8 APIs (ODBC drivers that store
// UTF-8, terminals, test fixtures written as UTF-8).
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view bytes);

}  // namespace tarnvex
