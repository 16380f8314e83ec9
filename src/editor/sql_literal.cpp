#include "editor/sql_literal.h"

#include <cstring>

namespace tarnvex {

void AppendSqlLiteral(std::string& out, std::string_view text) {
  out.push_back('\'');
  // Quotes are rare in codes and names: copy the stretches between them whole.
  const char* rest = text.data();
  const char* const end = rest + text.size();
  while (const void* found = std::memchr(rest, '\'', static_cast<size_t>(end - rest))) {
    const char* quote = static_cast<const char*>(found);
    out.append(rest, static_cast<size_t>(quote - rest) + 1);
    out.push_back('\'');
    rest = quote + 1;
  }
  out.append(rest, static_cast<size_t>(end - rest));
  out.push_back('\'');
}

std::string SqlLiteral(std::string_view text) {
  std::string literal;
  literal.reserve(text.size() + 2);
  AppendSqlLiteral(literal, text);
  return literal;
}

}  // namespace tarnvex
