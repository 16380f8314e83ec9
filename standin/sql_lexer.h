#pragma once

#include <cstddef>
#include <string_view>

namespace tarnvex {

// The pieces an SQL text is made of, as far as splitting it into statements and
// recognising the conditional forms need: nothing inside a quoted text or a
// comment ever counts as a keyword, a parenthesis or a semicolon.
enum class SqlTokenKind {
  kEnd,      // past the last character
  kBlank,    // spaces, tabs, line breaks
  kComment,  // -- to the end of the line, or /* ... */
  kWord,     // letters, digits, _ $ # @ and every non-ASCII character
  kQuoted,   // '...' or "..." with a doubled quote standing for itself
  kSymbol,   // any other single character
};

struct SqlToken {
  SqlTokenKind kind = SqlTokenKind::kEnd;
  size_t begin = 0;
  size_t end = 0;  // one past the last character
};

// The token that starts at pos. A quoted text or comment without its end runs
// to the end of the text.
SqlToken SqlTokenAt(std::u16string_view text, size_t pos);

// The first token at or after pos that is neither blank nor comment.
SqlToken SignificantTokenAt(std::u16string_view text, size_t pos);

// Whether the token is the word keyword, in any letter case; keyword is given in
// capitals.
bool IsKeyword(std::u16string_view text, const SqlToken& token, std::u16string_view keyword);

// Whether the token is the one-character symbol.
bool IsSymbol(std::u16string_view text, const SqlToken& token, char16_t symbol);

// The text without leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view text);

}  // namespace tarnvex
