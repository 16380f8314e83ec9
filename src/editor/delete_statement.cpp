#include "editor/delete_statement.h"

#include "editor/sql_literal.h"

namespace tarnvex {

std::string DeleteStatement(std::string_view code) {
  std::string statement = "Delete from tbdyjtxmlb where f_jtxmbm=";
  AppendSqlLiteral(statement, code);
  statement += ";Delete from tbdyjtxmda where f_jtxmbm=";
  AppendSqlLiteral(statement, code);
  return statement;
}

}  // namespace tarnvex
