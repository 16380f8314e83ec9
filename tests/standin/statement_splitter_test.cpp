#include "standin/statement_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnvex {
namespace {

struct SplitCase {
  const char* name;
  std::u16string text;
  std::vector<std::u16string> statements;
};

class StandinSplitterTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(StandinSplitterTest, Splits) {
  std::vector<std::u16string> got;
  for (std::u16string_view statement : SplitStatements(GetParam().text))
    got.emplace_back(statement);
  EXPECT_EQ(got, GetParam().statements);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StandinSplitterTest,
    ::testing::Values(
        SplitCase{"DeleteText",
                  u"Delete from tbdyjtxmlb where f_jtxmbm='01';Delete from tbdyjtxmda where "
                  u"f_jtxmbm='01'",
                  {u"Delete from tbdyjtxmlb where f_jtxmbm='01'",
                   u"Delete from tbdyjtxmda where f_jtxmbm='01'"}},
        SplitCase{"EmptyAndBlankPiecesDropped", u" ;a; ;\r\n;b;;", {u"a", u"b"}},
        SplitCase{"NothingButBlanks", u" \t\r\n ", {}}, SplitCase{"Empty", u"", {}},
        SplitCase{"SemicolonInQuotes",
                  u"insert into t values('a;b');x",
                  {u"insert into t values('a;b')", u"x"}},
        SplitCase{"DoubledQuoteStaysInside", u"select 'it''s;x';y", {u"select 'it''s;x'", u"y"}},
        SplitCase{"DoubleQuotedName", u"select \"a;b\" from t;y", {u"select \"a;b\" from t", u"y"}},
        SplitCase{"UnterminatedQuoteRunsToTheEnd", u"a;select 'x;y", {u"a", u"select 'x;y"}},
        SplitCase{"InsideParentheses", u"select f(1;2) from t;y", {u"select f(1;2) from t", u"y"}},
        SplitCase{"StrayClosingParenthesis", u"a);b", {u"a)", u"b"}},
        SplitCase{"AtomicBlockIsOneStatement",
                  u"begin ATOMIC If not Exists(select * from t where k='1') then Insert into t(k) "
                  u"Values('1'); "
                  u"Else Update t set v='2' where k='1'; End if;End;select 1",
                  {u"begin ATOMIC If not Exists(select * from t where k='1') then Insert into t(k) "
                   u"Values('1'); "
                   u"Else Update t set v='2' where k='1'; End if;End",
                   u"select 1"}},
        SplitCase{"KeywordsInAnyCase",
                  u"BEGIN atomic x; END IF; end;y",
                  {u"BEGIN atomic x; END IF; end", u"y"}},
        SplitCase{"BeginTransactionOpensNoBlock",
                  u"begin transaction;x;commit",
                  {u"begin transaction", u"x", u"commit"}},
        SplitCase{"BareBeginOpensNoBlock", u"BEGIN;x", {u"BEGIN", u"x"}},
        SplitCase{
            "TriggerBody",
            u"create trigger g after insert on t begin update u set n=n+1; delete from v; end;y",
            {u"create trigger g after insert on t begin update u set n=n+1; delete from v; end",
             u"y"}},
        SplitCase{"CaseEndInsideBlock",
                  u"begin atomic select case when a then 1 else 2 end; x; end;y",
                  {u"begin atomic select case when a then 1 else 2 end; x; end", u"y"}},
        SplitCase{"WordsContainingKeywords",
                  u"select backend, ending from t;y",
                  {u"select backend, ending from t", u"y"}},
        SplitCase{"LineComment", u"a -- don't; split\n;b", {u"a -- don't; split", u"b"}},
        SplitCase{"BlockComment", u"a /* it's; */;b", {u"a /* it's; */", u"b"}},
        SplitCase{"CommentOnlyPieceDropped", u"-- header\n;a", {u"a"}},
        SplitCase{
            "ChineseText", u"update t set n='计件;补助';x", {u"update t set n='计件;补助'", u"x"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnvex
