#pragma once

#include <string>
#include <string_view>

namespace tarnvex {

// The host's database is not Microsoft SQL Server: SQL texts are rewritten for
// an ANSI procedural dialect. Process-wide, false when the library is loaded,
// set once while the editor is created and read afterwards.
extern bool UseAnsiDialect;

// Rewrites a text written for SQL Server when use_ansi is true: ISNULL( becomes
// Coalesce(, LEN( becomes Length(, SUBSTRING becomes substr, and the "tb" of a
// table name after a blank, comma or equals sign is put in lower case. Letters
// match in any case, without word boundaries. Text inside single-quoted literals
// ('' stays inside the literal) is never touched: it is data an operator typed.
// With use_ansi false the text is returned unchanged.
std::string AdaptSql(std::string_view sql, bool use_ansi);

// AdaptSql's result appended to out: for callers that adapt many statements
// through one buffer. sql must not lie inside out.
void AppendAdaptedSql(std::string_view sql, bool use_ansi, std::string& out);

// a when flag is true, else b.
inline std::string ChooseString(bool flag, std::string_view a, std::string_view b) {
  return std::string(flag ? a : b);
}

}  // namespace tarnvex
