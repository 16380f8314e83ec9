#include "text/codepage.h"

#include <cstdint>

namespace tarnvex {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

void AppendUtf8(char32_t code_point, std::string& out) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

void AppendUtf16(char32_t code_point, std::u16string& out) {
  if (code_point < 0x10000) {
    out += static_cast<char16_t>(code_point);
  } else {
    code_point -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (code_point >> 10));
    out += static_cast<char16_t>(0xDC00 | (code_point & 0x3FF));
  }
}

// The shape of a well-formed UTF-8 sequence, told by its first byte: how many
// bytes it has and which range its second byte must fall in. The narrowed
// second-byte ranges are what keep out overlong forms, encoded surrogates and
// values beyond U+10FFFF.
struct Utf8Lead {
  int length;  // 0: the byte cannot start a sequence
  uint8_t second_min;
  uint8_t second_max;
};

Utf8Lead ClassifyLead(uint8_t byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
  if (byte == 0xE0) return {3, 0xA0, 0xBF};
  if (byte == 0xED) return {3, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
  if (byte == 0xF0) return {4, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
  if (byte == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// Decodes one sequence starting at bytes[pos], advancing pos past it. An
// ill-formed sequence gives U+FFFD and is skipped only as far as it was a
// valid beginning, so a truncated character never swallows the text after it.
char32_t DecodeUtf8(std::string_view bytes, size_t& pos) {
  const uint8_t first = static_cast<uint8_t>(bytes[pos++]);
  if (first < 0x80) return first;
  const Utf8Lead lead = ClassifyLead(first);
  if (lead.length == 0) return kReplacement;

  char32_t code_point = first & (0xFF >> (lead.length + 1));
  for (int i = 1; i < lead.length; ++i) {
    if (pos >= bytes.size()) return kReplacement;
    const uint8_t byte = static_cast<uint8_t>(bytes[pos]);
    const bool fits =
        i == 1 ? byte >= lead.second_min && byte <= lead.second_max : IsContinuation(byte);
    if (!fits) return kReplacement;
    code_point = (code_point << 6) | (byte & 0x3F);
    ++pos;
  }
  return code_point;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t code_point =
          0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      AppendUtf8(code_point, out);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(kReplacement, out);
    } else {
      AppendUtf8(unit, out);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t pos = 0;
  while (pos < bytes.size()) AppendUtf16(DecodeUtf8(bytes, pos), out);
  return out;
}

}  // namespace tarnvex
