#include "text/cp936.h"

namespace tarnvex {

namespace {

char FoldAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t Cp936CharLength(std::string_view text, std::size_t pos) {
  if (!IsCp936LeadByte(text[pos]) || pos + 1 == text.size()) return 1;
  return IsCp936TrailByte(text[pos + 1]) ? 2 : 1;
}

std::size_t Cp936LastCharStart(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size(); at += Cp936CharLength(text, at)) start = at;
  return start;
}

// Stepping through a alone is enough: a lead byte compares exactly, and so does
// a byte that cannot be a trail byte (none is a letter), so b only matches where
// its characters begin at the same places as a's.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t length = Cp936CharLength(a, i);
    if (length == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace tarnvex
