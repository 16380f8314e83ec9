#include "text/cp936.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tarnvex {
namespace {

struct EdgeCase {
  const char* name;
  std::string_view text;
  std::vector<std::size_t> lengths;  // of its characters, from the start
};

// Bytes are spelled out so that no escape runs into the letter after it.
const EdgeCase kEdgeCases[] = {
    {"plain ASCII with the neighbours of the letters", "@AZ[`az{", {1, 1, 1, 1, 1, 1, 1, 1}},
    {"0x7F is no lead byte", "\x7F\x41", {1, 1}},
    {"0x80 is no lead byte", "\x80\x41", {1, 1}},
    {"0x81 leads, trail 0x41 is not folded", "\x81\x41", {2}},
    {"0xFE leads", "\xFE\x41", {2}},
    {"0xFF is no lead byte", "\xFF\x41", {1, 1}},
    {"trail 0x3F is too low", "\x81\x3F\x41", {1, 1, 1}},
    {"trail 0x40", "\x81\x40", {2}},
    {"trail 0x7E", "\x81\x7E", {2}},
    {"trail 0x7F is refused", "\x81\x7F\x41", {1, 1, 1}},
    {"trail 0x80", "\x81\x80", {2}},
    {"trail 0xFE", "\x81\xFE", {2}},
    {"trail 0xFF is refused", "\x81\xFF\x41", {1, 1, 1}},
    {"lead byte at the end", "a\x81", {1, 1}},
    {"a lead byte as trail byte ends the pair", "\x81\x81\x41", {2, 1}},
    {"Chinese between letters", "A项目z", {1, 2, 2, 1}},
};

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

TEST(Cp936Test, StepsCharacterByCharacter) {
  for (const EdgeCase& edge : kEdgeCases) {
    SCOPED_TRACE(edge.name);
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < edge.text.size(); i += lengths.back()) {
      lengths.push_back(Cp936CharLength(edge.text, i));
    }
    EXPECT_EQ(lengths, edge.lengths);
    const std::size_t last = edge.text.size() - edge.lengths.back();
    EXPECT_EQ(Cp936LastCharStart(edge.text), last);
  }
  EXPECT_EQ(Cp936LastCharStart(""), 0u);
}

// Each byte in turn gets bit 0x20 flipped, which turns a letter into the other
// case and any other byte into a different byte. Only a letter that is a
// character of its own may then still compare equal; where it stands is taken
// from the table, not from the stepping under test.
TEST(Cp936Test, FoldsOnlyLettersThatAreCharactersOfTheirOwn) {
  for (const EdgeCase& edge : kEdgeCases) {
    SCOPED_TRACE(edge.name);
    std::vector<bool> single(edge.text.size(), false);
    std::size_t start = 0;
    for (std::size_t length : edge.lengths) {
      single[start] = length == 1;
      start += length;
    }
    const std::string text(edge.text);
    for (std::size_t i = 0; i < text.size(); ++i) {
      std::string flipped = text;
      flipped[i] = static_cast<char>(flipped[i] ^ 0x20);
      const bool expected = single[i] && IsAsciiLetter(text[i]);
      EXPECT_EQ(EqualsIgnoringAsciiCase(text, flipped), expected) << "byte " << i;
      EXPECT_EQ(EqualsIgnoringAsciiCase(flipped, text), expected) << "byte " << i;
    }
    EXPECT_TRUE(EqualsIgnoringAsciiCase(text, text));
    // A prefix matches every byte it has; only its length tells it apart.
    EXPECT_FALSE(EqualsIgnoringAsciiCase(text.substr(0, text.size() - 1), text));
  }
}

}  // namespace
}  // namespace tarnvex
