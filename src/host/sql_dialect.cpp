#include "host/sql_dialect.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    if (first >= 'A' && first <= 'Z')
      table[static_cast<uint8_t>(first + 32)] = static_cast<uint8_t>(i + 1);
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

// The first position at or after pos where a rewrite or a literal may start,
// or n. Save batches run a hundred megabytes through here, so sixteen bytes are
// looked at a time: with case folded by setting bit 5, a pattern can begin only
// at one of the pairs "is", "le", "su", " t", ",t" and "=t"; a quote always
// stops the scan. Folding that way also joins some bytes that are not letters,
// so the test is loose, never strict: every position it passes over starts
// nothing.
size_t NextCandidate(const char* text, size_t pos, size_t n) {
#if defined(__SSE2__)
  const __m128i fold = _mm_set1_epi8(0x20);
  auto is = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
  auto both = [](__m128i a, __m128i b) { return _mm_and_si128(a, b); };
  auto either = [](__m128i a, __m128i b) { return _mm_or_si128(a, b); };
  while (n - pos >= 17) {  // sixteen first bytes and the byte after the last
    const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos + 1));
    const __m128i first = _mm_or_si128(raw, fold);
    const __m128i second = _mm_or_si128(next, fold);
    const __m128i starts = either(
        either(both(is(first, 'i'), is(second, 's')), both(is(first, 'l'), is(second, 'e'))),
        either(
            both(is(first, 's'), is(second, 'u')),
            both(either(either(is(first, ' '), is(first, ',')), is(first, '=')), is(second, 't'))));
    const int mask = _mm_movemask_epi8(either(starts, is(raw, '\'')));
    if (mask != 0) return pos + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    pos += 16;
  }
#endif
  while (pos < n && kStarts[static_cast<uint8_t>(text[pos])] == 0) ++pos;
  return pos;
}

}  // namespace

std::string AdaptSql(std::string_view sql, bool use_ansi) {
  std::string out;
  AppendAdaptedSql(sql, use_ansi, out);
  return out;
}

void AppendAdaptedSql(std::string_view sql, bool use_ansi, std::string& out) {
  if (!use_ansi) {
    out.append(sql);
    return;
  }

  out.reserve(out.size() + sql.size() + sql.size() / 8);
  size_t copied = 0;  // sql[copied, pos) is still to be appended unchanged
  size_t pos = 0;
  const size_t n = sql.size();
  const char* const text = sql.data();
  while (pos < n) {
    pos = NextCandidate(text, pos, n);
    if (pos == n) break;
    const uint8_t start = kStarts[static_cast<uint8_t>(text[pos])];
    if (start == 0) {
      ++pos;  // a byte the loose test let through
    } else if (start == kQuote) {
      // Skip the literal; a doubled quote closes and reopens it, which comes to
      // the same. An unterminated literal runs to the end of the text.
      const void* close = std::memchr(text + pos + 1, '\'', n - pos - 1);
      pos = close ? static_cast<size_t>(static_cast<const char*>(close) - text) + 1 : n;
    } else if (const Rewrite& rewrite = kRewrites[start - 1];
               MatchesAt(sql, pos, rewrite.pattern)) {
      out.append(text + copied, pos - copied);
      out.append(rewrite.replacement);
      pos += rewrite.pattern.size();
      copied = pos;
    } else {
      ++pos;
    }
  }
  out.append(text + copied, n - copied);
}

}  // namespace tarnvex
