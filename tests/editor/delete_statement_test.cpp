// The delete command's statements.

#include "editor/delete_statement.h"

#include <string>

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

TEST(DeleteStatementTest, DeletesParameterRowsThenTheItem) {
  EXPECT_EQ(
      DeleteStatement("01"),
      "Delete from tbdyjtxmlb where f_jtxmbm='01';Delete from tbdyjtxmda where f_jtxmbm='01'");
}

TEST(DeleteStatementTest, QuotesInTheCodeAreDoubledSoTheCodeStaysOneLiteral) {
  EXPECT_EQ(DeleteStatement("1' or '1'='1"),
            "Delete from tbdyjtxmlb where f_jtxmbm='1'' or ''1''=''1';"
            "Delete from tbdyjtxmda where f_jtxmbm='1'' or ''1''=''1'");
}

}  // namespace
}  // namespace tarnvex
