#include "standin/compound_statement.h"

#include "standin/sql_lexer.h"

namespace tarnvex {
namespace {

[[noreturn]] void Fail(const char* what) {
  throw CompoundStatementError(std::string("条件语句格式错误：") + what);
}

SqlToken Next(std::u16string_view text, const SqlToken& token) {
  return SignificantTokenAt(text, token.end);
}

void Expect(std::u16string_view text, const SqlToken& token, std::u16string_view keyword,
            const char* what) {
  if (!IsKeyword(text, token, keyword)) Fail(what);
}

// The ")" that closes the "(" at open.
SqlToken ClosingParenthesis(std::u16string_view text, const SqlToken& open) {
  size_t depth = 1;
  for (SqlToken token = SqlTokenAt(text, open.end); token.kind != SqlTokenKind::kEnd;
       token = SqlTokenAt(text, token.end)) {
    if (IsSymbol(text, token, u'(')) {
      ++depth;
    } else if (IsSymbol(text, token, u')') && --depth == 0) {
      return token;
    }
  }
  Fail("Exists( 缺少与之配对的“)”");
}

// The first ";" from pos on that stands outside parentheses.
SqlToken StatementEnd(std::u16string_view text, size_t pos, const char* what) {
  size_t depth = 0;
  for (SqlToken token = SqlTokenAt(text, pos); token.kind != SqlTokenKind::kEnd;
       token = SqlTokenAt(text, token.end)) {
    if (IsSymbol(text, token, u'(')) {
      ++depth;
    } else if (IsSymbol(text, token, u')')) {
      if (depth > 0) --depth;
    } else if (depth == 0 && IsSymbol(text, token, u';')) {
      return token;
    }
  }
  Fail(what);
}

// The first ELSE from pos on that belongs to the statement itself: outside
// parentheses and outside CASE ... END. kEnd when there is none.
SqlToken ElseKeyword(std::u16string_view text, size_t pos) {
  size_t parentheses = 0;
  size_t cases = 0;
  for (SqlToken token = SqlTokenAt(text, pos);; token = SqlTokenAt(text, token.end)) {
    if (token.kind == SqlTokenKind::kEnd) return token;
    if (IsSymbol(text, token, u'(')) {
      ++parentheses;
    } else if (IsSymbol(text, token, u')')) {
      if (parentheses > 0) --parentheses;
    } else if (parentheses == 0 && IsKeyword(text, token, u"CASE")) {
      ++cases;
    } else if (parentheses == 0 && cases > 0 && IsKeyword(text, token, u"END")) {
      --cases;
    } else if (parentheses == 0 && cases == 0 && IsKeyword(text, token, u"ELSE")) {
      return token;
    }
  }
}

std::u16string_view Between(std::u16string_view text, size_t begin, size_t end) {
  return TrimBlanks(text.substr(begin, end - begin));
}

bool IsEmpty(std::u16string_view piece) {
  return SignificantTokenAt(piece, 0).kind == SqlTokenKind::kEnd;
}

// A text that may end with semicolons, as the last statement of an array
// element can: they are not part of the statement.
std::u16string_view WithoutTrailingSemicolons(std::u16string_view piece) {
  piece = TrimBlanks(piece);
  while (!piece.empty() && piece.back() == u';')
    piece = TrimBlanks(piece.substr(0, piece.size() - 1));
  return piece;
}

void ScanAtomicEnding(std::u16string_view text, SqlToken token) {
  const char* what = "结尾应为“End if;End”";
  Expect(text, token, u"END", what);
  token = Next(text, token);
  Expect(text, token, u"IF", what);
  token = Next(text, token);
  if (!IsSymbol(text, token, u';')) Fail(what);
  token = Next(text, token);
  Expect(text, token, u"END", what);
  token = Next(text, token);
  if (IsSymbol(text, token, u';')) token = Next(text, token);
  if (token.kind != SqlTokenKind::kEnd) Fail("“End if;End”之后不应再有内容");
}

}  // namespace

std::optional<CompoundStatement> ScanCompoundStatement(std::u16string_view text) {
  SqlToken token = SignificantTokenAt(text, 0);
  bool atomic = false;
  if (IsKeyword(text, token, u"BEGIN")) {
    token = Next(text, token);
    if (!IsKeyword(text, token, u"ATOMIC")) return std::nullopt;
    atomic = true;
    token = Next(text, token);
    Expect(text, token, u"IF", "begin ATOMIC 之后应为“If not Exists(”");
  } else if (!IsKeyword(text, token, u"IF")) {
    return std::nullopt;
  }
  SqlToken word = Next(text, token);
  if (!IsKeyword(text, word, u"NOT")) {
    if (atomic) Fail("begin ATOMIC 之后应为“If not Exists(”");
    return std::nullopt;
  }
  word = Next(text, word);
  if (!IsKeyword(text, word, u"EXISTS")) {
    if (atomic) Fail("begin ATOMIC 之后应为“If not Exists(”");
    return std::nullopt;
  }
  const SqlToken open = Next(text, word);
  if (!IsSymbol(text, open, u'(')) Fail("Exists 之后缺少“(”");
  const SqlToken close = ClosingParenthesis(text, open);

  CompoundStatement result;
  result.condition_query = Between(text, open.end, close.begin);
  if (IsEmpty(result.condition_query)) Fail("Exists( ) 中没有查询");

  if (atomic) {
    const SqlToken then = Next(text, close);
    Expect(text, then, u"THEN", "Exists(...) 之后缺少 then");
    const SqlToken then_end = StatementEnd(text, then.end, "then 之后的语句缺少结尾的“;”");
    result.then_statement = Between(text, then.end, then_end.begin);
    token = Next(text, then_end);
    if (IsKeyword(text, token, u"ELSE")) {
      const SqlToken else_end = StatementEnd(text, token.end, "Else 之后的语句缺少结尾的“;”");
      result.else_statement = Between(text, token.end, else_end.begin);
      if (IsEmpty(result.else_statement)) Fail("Else 之后没有语句");
      token = Next(text, else_end);
    }
    ScanAtomicEnding(text, token);
  } else {
    const SqlToken else_word = ElseKeyword(text, close.end);
    if (else_word.kind == SqlTokenKind::kEnd) {
      result.then_statement = WithoutTrailingSemicolons(text.substr(close.end));
    } else {
      result.then_statement = Between(text, close.end, else_word.begin);
      result.else_statement = WithoutTrailingSemicolons(text.substr(else_word.end));
      if (IsEmpty(result.else_statement)) Fail("Else 之后没有语句");
    }
  }
  if (IsEmpty(result.then_statement)) Fail("条件之后没有要执行的语句");
  return result;
}

}  // namespace tarnvex
