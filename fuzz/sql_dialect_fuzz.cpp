// Checks AdaptSql against a plain reference: with the flag off the text comes
// back as it is; with it on, every single-quoted literal comes back unchanged
// and every stretch between literals is rewritten by six separate
// find-and-replace passes, one per rewrite, which is what the one-pass scanner
// promises to be equivalent to.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/sql_dialect.h"

namespace {

struct Rewrite {
  std::string_view pattern;  // ASCII capitals
  std::string_view replacement;
};

constexpr std::array<Rewrite, 6> kRewrites{{
    {"ISNULL(", "Coalesce("},
    {"LEN(", "Length("},
    {"SUBSTRING", "substr"},
    {" TB", " tb"},
    {",TB", ",tb"},
    {"=TB", "=tb"},
}};

bool EqualsIgnoringAsciiCase(std::string_view text, std::string_view capitals) {
  for (size_t i = 0; i < capitals.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != capitals[i]) return false;
  }
  return true;
}

std::string ReplaceAll(std::string_view text, const Rewrite& rewrite) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text.size() - i >= rewrite.pattern.size() &&
        EqualsIgnoringAsciiCase(text.substr(i), rewrite.pattern)) {
      out += rewrite.replacement;
      i += rewrite.pattern.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string ReferenceAdapt(std::string_view sql) {
  std::string out;
  size_t pos = 0;
  while (pos < sql.size()) {
    const size_t quote = sql.find('\'', pos);
    std::string stretch(
        sql.substr(pos, quote == std::string_view::npos ? std::string_view::npos : quote - pos));
    for (const Rewrite& rewrite : kRewrites) stretch = ReplaceAll(stretch, rewrite);
    out += stretch;
    if (quote == std::string_view::npos) break;
    // The literal runs to the next quote, or to the end when it is never closed;
    // a doubled quote closes it and opens the next one at once.
    const size_t close = sql.find('\'', quote + 1);
    const size_t end = close == std::string_view::npos ? sql.size() : close + 1;
    out += sql.substr(quote, end - quote);
    pos = end;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view sql(reinterpret_cast<const char*>(data), size);
  if (tarnvex::AdaptSql(sql, false) != sql) std::abort();
  if (tarnvex::AdaptSql(sql, true) != ReferenceAdapt(sql)) std::abort();
  return 0;
}
