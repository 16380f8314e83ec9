#pragma once

#include <string_view>
#include <vector>

namespace tarnvex {

// Splits a text holding several statements into the statements, at every ";"
// that stands outside quotes, comments, parentheses and BEGIN ... END blocks (so
// "begin ATOMIC ... End if;End" stays one statement, as does a trigger body).
// "End if", "End loop" and the like close no block; CASE ... END counts as one.
// Each statement comes without surrounding blanks; empty ones, and ones holding
// nothing but comments, are dropped. The views point into text.
std::vector<std::u16string_view> SplitStatements(std::u16string_view text);

}  // namespace tarnvex
