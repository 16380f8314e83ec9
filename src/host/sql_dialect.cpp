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

// For each byte, the rewrites whose pattern may start with it, as a bit set;
// the single quote is marked apart because it opens a literal.
constexpr uint8_t kQuoteBit = 0x80;
constexpr std::array<uint8_t, 256> MakeStartTable() {
  std::array<uint8_t, 256> table{};
  for (size_t i = 0; i < kRewrites.size(); ++i) {
    const char first = kRewrites[i].pattern[0];
    table[static_cast<uint8_t>(first)] |= static_cast<uint8_t>(1u << i);
    if (first >= 'A' && first <= 'Z') {
      table[static_cast<uint8_t>(first + 32)] |= static_cast<uint8_t>(1u << i);
    }
  }
  table[static_cast<uint8_t>('\'')] |= kQuoteBit;
  return table;
}
constexpr std::array<uint8_t, 256> kStarts = MakeStartTable();

bool MatchesAt(std::string_view text, size_t pos, std::string_view pattern) {
  if (text.size() - pos < pattern.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i) {
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
  while (pos < n) {
    const uint8_t starts = kStarts[static_cast<uint8_t>(sql[pos])];
    if (starts == 0) {
      ++pos;
      continue;
    }
    if (starts & kQuoteBit) {
      // Skip the literal; a doubled quote closes and reopens it, which comes to
      // the same. An unterminated literal runs to the end of the text.
      const void* close = std::memchr(sql.data() + pos + 1, '\'', n - pos - 1);
      pos = close ? static_cast<size_t>(static_cast<const char*>(close) - sql.data()) + 1 : n;
      continue;
    }
    bool replaced = false;
    for (size_t i = 0; i < kRewrites.size(); ++i) {
      if ((starts & (1u << i)) && MatchesAt(sql, pos, kRewrites[i].pattern)) {
        out.append(sql.data() + copied, pos - copied);
        out.append(kRewrites[i].replacement);
        pos += kRewrites[i].pattern.size();
        copied = pos;
        replaced = true;
        break;
      }
    }
    if (!replaced) ++pos;
  }
  out.append(sql.data() + copied, n - copied);
  return out;
}

}  // namespace tarnvex
