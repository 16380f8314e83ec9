#include "standin/sql_lexer.h"

namespace tarnvex {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

bool IsWordChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'$' || c == u'#' || c == u'@' || c >= 0x80;
}

char16_t Upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// End of a quoted text that starts at pos: a doubled quote does not end it.
size_t QuotedEnd(std::u16string_view text, size_t pos) {
  const char16_t quote = text[pos];
  size_t i = pos + 1;
  while (i < text.size()) {
    if (text[i] != quote) {
      ++i;
    } else if (i + 1 < text.size() && text[i + 1] == quote) {
      i += 2;
    } else {
      return i + 1;
    }
  }
  return text.size();
}

}  // namespace

SqlToken SqlTokenAt(std::u16string_view text, size_t pos) {
  if (pos >= text.size()) return SqlToken{SqlTokenKind::kEnd, text.size(), text.size()};
  const char16_t c = text[pos];
  const char16_t next = pos + 1 < text.size() ? text[pos + 1] : u'\0';
  size_t end = pos + 1;
  if (IsBlank(c)) {
    while (end < text.size() && IsBlank(text[end])) ++end;
    return SqlToken{SqlTokenKind::kBlank, pos, end};
  }
  if (c == u'-' && next == u'-') {
    size_t line_end = text.find(u'\n', pos);
    return SqlToken{SqlTokenKind::kComment, pos,
                    line_end == std::u16string_view::npos ? text.size() : line_end};
  }
  if (c == u'/' && next == u'*') {
    size_t close = text.find(u"*/", pos + 2);
    return SqlToken{SqlTokenKind::kComment, pos,
                    close == std::u16string_view::npos ? text.size() : close + 2};
  }
  if (c == u'\'' || c == u'"') return SqlToken{SqlTokenKind::kQuoted, pos, QuotedEnd(text, pos)};
  if (IsWordChar(c)) {
    while (end < text.size() && IsWordChar(text[end])) ++end;
    return SqlToken{SqlTokenKind::kWord, pos, end};
  }
  return SqlToken{SqlTokenKind::kSymbol, pos, end};
}

SqlToken SignificantTokenAt(std::u16string_view text, size_t pos) {
  SqlToken token = SqlTokenAt(text, pos);
  while (token.kind == SqlTokenKind::kBlank || token.kind == SqlTokenKind::kComment) {
    token = SqlTokenAt(text, token.end);
  }
  return token;
}

bool IsKeyword(std::u16string_view text, const SqlToken& token, std::u16string_view keyword) {
  if (token.kind != SqlTokenKind::kWord || token.end - token.begin != keyword.size()) return false;
  for (size_t i = 0; i < keyword.size(); ++i) {
    if (Upper(text[token.begin + i]) != keyword[i]) return false;
  }
  return true;
}

bool IsSymbol(std::u16string_view text, const SqlToken& token, char16_t symbol) {
  return token.kind == SqlTokenKind::kSymbol && text[token.begin] == symbol;
}

std::u16string_view TrimBlanks(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace tarnvex
