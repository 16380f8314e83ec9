#include "host/sql_dialect.h"

#include <array>
#include <cstring>

namespace tarnvex {

bool UseAnsiDialect = false;

namespace {

struct Rewrite {
  std::string_view pattern;      // in capitals
  std::string_view replacement;  // what the output gets
};

// The rewrites for an ANSI procedural dialect. No pattern can overlap another
// or one of the replacements, so one left-to-right scan gives the same text as
// applying them one after the other over the whole statement.
constexpr std::array<Rewrite, 6> kRewrites{{
    {"ISNULL(", "Coalesce("},
    {"LEN(", "Length("},
    {" TB", " tb"},
    {",TB", ",tb"},
    {"=TB", "=tb"},
    {"SUBSTRING", "substr"},
}};

constexpr char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// No two patterns begin with the same byte, so one table lookup per byte tells
// which rewrite may start there: 1 + its index, kQuote for the quote that opens
// a literal, 0 for nothing.
constexpr uint8_t kQuote = 0xFF;
constexpr std::array<uint8_t, 256> MakeStartTable() {
  std::array<uint8_t, 256> table{};
  for (size_t i = 0; i < kRewrites.size(); ++i) {
    const char first = kRewrites[i].pattern[0];
    table[static_cast<uint8_t>(first)] = static_cast<uint8_t>(i + 1);
    if (first >= 'A' && first <= 'Z') table[static_cast<uint8_t>(first + 32)] = static_cast<uint8_t>(i + 1);
  }
  table[static_cast<uint8_t>('\'')] = kQuote;
  return table;
}
constexpr std::array<uint8_t, 256> kStarts = MakeStartTable();

// Compares in capitals; the caller has already matched the first byte.
bool MatchesAt(std::string_view text, size_t pos, std::string_view pattern) {
  if (text.size() - pos < pattern.size() || Upper(text[pos + 1]) != pattern[1]) return false;
  for (size_t i = 2; i < pattern.size(); ++i) {
    if (Upper(text[pos + i]) != pattern[i]) return false;
  }
  return true;
}

}  // namespace

std::string AdaptSql(std::string_view sql, bool use_ansi) {
  if (!use_ansi) return std::string(sql);

  std::string out;
  out.reserve(sql.size() + sql.size() / 8);
  size_t copied = 0;  // sql[copied, pos) is still to be appended unchanged
  size_t pos = 0;
  const size_t n = sql.size();
  const char* const text = sql.data();
  while (pos < n) {
    uint8_t start;
    while ((start = kStarts[static_cast<uint8_t>(text[pos])]) == 0) {
      if (++pos == n) break;
    }
    if (pos == n) break;
    if (start == kQuote) {
      // Skip the literal; a doubled quote closes and reopens it, which comes to
      // the same. An unterminated literal runs to the end of the text.
      const void* close = std::memchr(text + pos + 1, '\'', n - pos - 1);
      pos = close ? static_cast<size_t>(static_cast<const char*>(close) - text) + 1 : n;
    } else if (const Rewrite& rewrite = kRewrites[start - 1]; MatchesAt(sql, pos, rewrite.pattern)) {
      out.append(text + copied, pos - copied);
      out.append(rewrite.replacement);
      pos += rewrite.pattern.size();
      copied = pos;
    } else {
      ++pos;
    }
  }
  out.append(sql.data() + copied, n - copied);
  return out;
}

}  // namespace tarnvex
