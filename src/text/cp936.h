#pragma once

#include <cstddef>
#include <string_view>

namespace tarnvex {

// Where the characters of a code page 936 (GBK) text begin, and names compared
// without regard to the case of ASCII letters. The one rule for every layer: a
// lead byte is 0x81..0xFE, a trail byte is 0x40..0xFE except 0x7F. A lead byte
// followed by a trail byte makes a two-byte character; any other byte, a stray
// lead byte included, is a character of its own, as the system's conversion
// treats it. Trail bytes 0x41..0x5A and 0x61..0x7A have the codes of ASCII
// letters but belong to different Chinese characters, so they are never folded.

constexpr bool IsCp936LeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

constexpr bool IsCp936TrailByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Bytes in the character that begins at pos (pos < text.size()): 2 for a lead
// byte followed by a trail byte, 1 otherwise.
std::size_t Cp936CharLength(std::string_view text, std::size_t pos);

// Where the last character of text begins (0 for an empty text).
std::size_t Cp936LastCharStart(std::string_view text);

// True when the two texts are equal once ASCII capitals that are characters of
// their own are taken as small letters; every other byte compares exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace tarnvex
