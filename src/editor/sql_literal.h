#pragma once

#include <string>
#include <string_view>

namespace tarnvex {

// Appends text as an SQL string literal: between single quotes, with every
// quote inside it doubled, so that no value an operator typed can end its
// literal early and turn the rest of the value into SQL.
void AppendSqlLiteral(std::string& out, std::string_view text);

// The literal of AppendSqlLiteral as a string of its own.
std::string SqlLiteral(std::string_view text);

}  // namespace tarnvex
