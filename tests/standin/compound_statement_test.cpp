#include "standin/compound_statement.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnvex {
namespace {

struct ScanCase {
  const char* name;
  std::u16string text;
  std::u16string condition_query;
  std::u16string then_statement;
  std::u16string else_statement;
};

class StandinCompoundScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(StandinCompoundScanTest, FindsTheParts) {
  const ScanCase& c = GetParam();
  std::optional<CompoundStatement> scanned = ScanCompoundStatement(c.text);
  ASSERT_TRUE(scanned.has_value());
  EXPECT_EQ(scanned->condition_query, c.condition_query);
  EXPECT_EQ(scanned->then_statement, c.then_statement);
  EXPECT_EQ(scanned->else_statement, c.else_statement);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StandinCompoundScanTest,
    ::testing::Values(
        ScanCase{"TransactSql",
                 u"If not Exists(select * from tbdyjtxmda where f_jtxmbm='01') Insert into "
                 u"tbdyjtxmda(f_jtxmbm) "
                 u"Values('01') Else Update tbDyJtxmda set f_lb='配送' where f_jtxmbm='01'",
                 u"select * from tbdyjtxmda where f_jtxmbm='01'",
                 u"Insert into tbdyjtxmda(f_jtxmbm) Values('01')",
                 u"Update tbDyJtxmda set f_lb='配送' where f_jtxmbm='01'"},
        ScanCase{"Ansi",
                 u"begin ATOMIC if Not Exists(select * from tbdyjtxmlb where f_jtxmbm='01' and "
                 u"f_cxbm='02') then "
                 u"Insert into tbdyjtxmlb(f_jtxmbm,f_cxbm) Values('01','02'); else Update "
                 u"tbdyjtxmlb set "
                 u"f_jtqd=100.00 where f_jtxmbm='01' and f_cxbm='02'; end if;End",
                 u"select * from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02'",
                 u"Insert into tbdyjtxmlb(f_jtxmbm,f_cxbm) Values('01','02')",
                 u"Update tbdyjtxmlb set f_jtqd=100.00 where f_jtxmbm='01' and f_cxbm='02'"},
        ScanCase{"KeywordsInAnyCaseAndBlanks",
                 u"\r\n IF\tNOT  EXISTS (select 1) insert x\nELSE update y ", u"select 1",
                 u"insert x", u"update y"},
        ScanCase{"AnsiWithoutBlanks", u"BEGIN ATOMIC IF NOT EXISTS(q)THEN a;ELSE b;END IF;END;",
                 u"q", u"a", u"b"},
        ScanCase{"KeywordsInsideQuotesAreData",
                 u"If not Exists(select * from t where n=') else (') insert into t values('x else "
                 u"y') else "
                 u"update t set n='else'",
                 u"select * from t where n=') else ('", u"insert into t values('x else y')",
                 u"update t set n='else'"},
        ScanCase{"NestedParentheses",
                 u"If not Exists(select * from t where k in (select k from u)) a Else b",
                 u"select * from t where k in (select k from u)", u"a", u"b"},
        ScanCase{"ElseOfCaseBelongsToTheStatement",
                 u"If not Exists(q) insert into t select case when 1=1 then 'a' else 'b' end Else "
                 u"update t set v=1",
                 u"q", u"insert into t select case when 1=1 then 'a' else 'b' end",
                 u"update t set v=1"},
        ScanCase{"WithoutElse", u"If not Exists(q) insert into t values(1);", u"q",
                 u"insert into t values(1)", u""},
        ScanCase{"AnsiWithoutElse", u"begin atomic if not exists(q) then a; end if; end", u"q",
                 u"a", u""},
        ScanCase{"TrailingSemicolonNotPartOfElse", u"If not Exists(q) a Else b ;", u"q", u"a",
                 u"b"}),
    [](const auto& info) { return std::string(info.param.name); });

struct NotCompoundCase {
  const char* name;
  std::u16string text;
};

class StandinCompoundOtherTextTest : public ::testing::TestWithParam<NotCompoundCase> {};

TEST_P(StandinCompoundOtherTextTest, IsNotCompound) {
  EXPECT_FALSE(ScanCompoundStatement(GetParam().text).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StandinCompoundOtherTextTest,
    ::testing::Values(NotCompoundCase{"Insert", u"insert into t values(1)"},
                      NotCompoundCase{"Empty", u""},
                      NotCompoundCase{"IfExists", u"If Exists(select 1) a Else b"},
                      NotCompoundCase{"IfNotOther", u"if not x"},
                      NotCompoundCase{"BeginTransaction", u"begin transaction"},
                      NotCompoundCase{"PrefixedWord", u"Ifnot Exists(q) a"},
                      NotCompoundCase{"CreateIfNotExists", u"create table if not exists t(a int)"},
                      NotCompoundCase{"QuotedKeyword", u"'If not Exists(q) a'"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
  const char* name;
  std::u16string text;
  const char* message_part;  // code page 936
};

class StandinCompoundMalformedTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(StandinCompoundMalformedTest, RaisesAClearError) {
  try {
    ScanCompoundStatement(GetParam().text);
    FAIL() << "no error";
  } catch (const CompoundStatementError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().message_part), std::string::npos)
        << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StandinCompoundMalformedTest,
    ::testing::Values(
        MalformedCase{"NoClosingParenthesis", u"If not Exists(", "“)”"},
        MalformedCase{"ClosingParenthesisOnlyInQuotes", u"If not Exists(select ')' a", "“)”"},
        MalformedCase{"NoOpeningParenthesis", u"If not Exists select 1 a", "“(”"},
        MalformedCase{"EmptyCondition", u"If not Exists( ) a Else b", "没有查询"},
        MalformedCase{"NoStatement", u"If not Exists(q)", "没有要执行的语句"},
        MalformedCase{"NoStatementBeforeElse", u"If not Exists(q) Else b", "没有要执行的语句"},
        MalformedCase{"NothingAfterElse", u"If not Exists(q) a Else ;", "Else 之后没有语句"},
        MalformedCase{"AtomicWithoutIf", u"begin ATOMIC insert into t values(1); End",
                      "If not Exists"},
        MalformedCase{"AtomicIfExists", u"begin ATOMIC If Exists(q) then a; End if;End",
                      "If not Exists"},
        MalformedCase{"AtomicWithoutThen", u"begin ATOMIC If not Exists(q) a; End if;End", "then"},
        MalformedCase{"AtomicThenWithoutSemicolon", u"begin ATOMIC If not Exists(q) then a", "“;”"},
        MalformedCase{"AtomicElseWithoutSemicolon", u"begin ATOMIC If not Exists(q) then a; Else b",
                      "“;”"},
        MalformedCase{"AtomicWithoutEnding", u"begin ATOMIC If not Exists(q) then a; Else b;",
                      "End if;End"},
        MalformedCase{"AtomicHalfEnding", u"begin ATOMIC If not Exists(q) then a; Else b; End if;",
                      "End if;End"},
        MalformedCase{"AtomicTextAfterEnd",
                      u"begin ATOMIC If not Exists(q) then a; End if;End; drop table t",
                      "不应再有内容"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnvex
