#include "standin/statement_splitter.h"

#include <initializer_list>

#include "standin/sql_lexer.h"

namespace tarnvex {
namespace {

bool IsAnyKeyword(std::u16string_view text, const SqlToken& token,
                  std::initializer_list<std::u16string_view> keywords) {
  for (std::u16string_view keyword : keywords) {
    if (IsKeyword(text, token, keyword)) return true;
  }
  return false;
}

// BEGIN also starts a transaction ("BEGIN;", "BEGIN TRANSACTION", "BEGIN
// ISOLATION LEVEL ..."); only the other uses open a block.
bool BeginOpensBlock(std::u16string_view text, const SqlToken& begin) {
  SqlToken next = SignificantTokenAt(text, begin.end);
  if (next.kind == SqlTokenKind::kEnd || IsSymbol(text, next, u';')) return false;
  return !IsAnyKeyword(text, next,
                       {u"TRANSACTION", u"TRAN", u"WORK", u"DEFERRED", u"IMMEDIATE", u"EXCLUSIVE",
                        u"DISTRIBUTED", u"ISOLATION", u"READ", u"NOT", u"DEFERRABLE"});
}

// "End if", "End loop", ... end a control statement inside a block, not the block.
bool EndClosesBlock(std::u16string_view text, const SqlToken& end) {
  SqlToken next = SignificantTokenAt(text, end.end);
  return !IsAnyKeyword(text, next, {u"IF", u"LOOP", u"WHILE", u"REPEAT", u"FOR"});
}

void AddStatement(std::u16string_view piece, std::vector<std::u16string_view>& statements) {
  piece = TrimBlanks(piece);
  if (SignificantTokenAt(piece, 0).kind != SqlTokenKind::kEnd) statements.push_back(piece);
}

}  // namespace

std::vector<std::u16string_view> SplitStatements(std::u16string_view text) {
  std::vector<std::u16string_view> statements;
  // Most texts of a batch hold one statement and no ";" at all.
  if (text.find(u';') == std::u16string_view::npos) {
    AddStatement(text, statements);
    return statements;
  }
  size_t start = 0;
  size_t parentheses = 0;
  size_t blocks = 0;
  for (SqlToken token = SqlTokenAt(text, 0); token.kind != SqlTokenKind::kEnd;
       token = SqlTokenAt(text, token.end)) {
    if (token.kind == SqlTokenKind::kSymbol) {
      const char16_t c = text[token.begin];
      if (c == u'(') {
        ++parentheses;
      } else if (c == u')') {
        if (parentheses > 0) --parentheses;
      } else if (c == u';' && parentheses == 0 && blocks == 0) {
        AddStatement(text.substr(start, token.begin - start), statements);
        start = token.end;
      }
    } else if (token.kind == SqlTokenKind::kWord) {
      if (IsKeyword(text, token, u"CASE") ||
          (IsKeyword(text, token, u"BEGIN") && BeginOpensBlock(text, token))) {
        ++blocks;
      } else if (IsKeyword(text, token, u"END") && blocks > 0 && EndClosesBlock(text, token)) {
        --blocks;
      }
    }
  }
  AddStatement(text.substr(start), statements);
  return statements;
}

}  // namespace tarnvex
