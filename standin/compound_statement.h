#pragma once

#include <optional>
#include <stdexcept>
#include <string_view>

namespace tarnvex {

// A text that starts like one of the conditional forms but does not follow it;
// what() says what is missing, in code page 936.
class CompoundStatementError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The parts of a conditional statement. The views point into the scanned text.
struct CompoundStatement {
  std::u16string_view condition_query;  // the query inside Exists( )
  std::u16string_view then_statement;   // runs when the query returns no row
  std::u16string_view else_statement;   // runs when it returns a row; empty: nothing
};

// Recognises the two conditional forms the editor writes,
//   If not Exists(<query>) <statement> [Else <statement>]
//   begin ATOMIC If not Exists(<query>) then <statement>; [Else <statement>;] End if;End
// with keywords in any letter case and any blanks or comments between them;
// quotes and parentheses inside the query and the statements are respected.
// nullopt for every other text. A text that begins with "If not Exists" or
// "begin ATOMIC" but does not go on as above raises CompoundStatementError.
std::optional<CompoundStatement> ScanCompoundStatement(std::u16string_view text);

}  // namespace tarnvex
