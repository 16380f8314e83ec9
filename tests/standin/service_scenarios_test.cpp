#include <gtest/gtest.h>
#include <time.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/data_packet.h"
#include "host/host_error.h"
#include "host/record_table.h"
#include "host/sql_dialect.h"
#include "standin/scenario_backend.h"
#include "text/codepage.h"

namespace tarnvex::testing {
namespace {

// The save statements of one item record (code 01, name 计件补助, category 配送,
// f_jj set) and of its parameter record for vehicle type 02 (f_jtqd 100, f_jsqd
// 5, f_jjjtqd 2.5, f_jtxe 300), exactly as the editor writes them.
constexpr const char* kItemTransactSql =
    "If not Exists(select * from tbdyjtxmda where f_jtxmbm='01') Insert into tbdyjtxmda(f_jtxmbm,"
    "f_jtxmmc,f_lb,f_jj,f_jc,f_jcs,f_js,f_ax,f_bc,f_srz,f_fz,f_bz,f_fc) "
    "Values('01','计件补助','配送',"
    "'1','0','0','0','0','0','0','0','0','0') Else Update tbDyJtxmda set "
    "f_jtxmmc='计件补助',f_lb='配送',"
    "f_jj='1',f_jc='0',f_jcs='0',f_js='0',f_ax='0',f_bc='0',f_srz='0',f_fz='0',f_bz='0',f_fc='0' "
    "where f_jtxmbm='01'";
constexpr const char* kItemAnsi =
    "begin ATOMIC If not Exists(select * from tbdyjtxmda where f_jtxmbm='01') then Insert into "
    "tbdyjtxmda(f_jtxmbm,f_jtxmmc,f_lb,f_jj,f_jc,f_jcs,f_js,f_ax,f_bc,f_srz,f_fz,f_bz,f_fc) "
    "Values('01',"
    "'计件补助','配送','1','0','0','0','0','0','0','0','0','0'); Else Update tbDyJtxmda set "
    "f_jtxmmc='计件补助',"
    "f_lb='配送',f_jj='1',f_jc='0',f_jcs='0',f_js='0',f_ax='0',f_bc='0',f_srz='0',f_fz='0',f_bz='0'"
    ","
    "f_fc='0' where f_jtxmbm='01'; End if;End";
constexpr const char* kParameterTransactSql =
    "if Not Exists(select * from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02') Insert into "
    "tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd,f_jsqd,f_jsjc,f_jjjtqd,f_jjjtjc,f_lcqd,f_lcjc,f_jcjtqd,"
    "f_jcjtjc,f_sjqd,f_sjjc,f_jsjtqd,f_jsjtjc,f_xlqd,f_xljc,f_jxjtqd,f_jxjtjc,f_mdqd,f_mdjc,f_"
    "bcjtqd,"
    "f_bcjtjc,f_jcjt,f_pcjt,f_fkjt,f_psjt,f_ybjt,f_tsjt,f_jtxe,f_fhjt ) Values('01','02',100.00,"
    "5.00,0.00,2.50,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,"
    "0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,300.00,0.00) else Update tbdyjtxmlb set f_jtqd=100.00,"
    "f_jsqd=5.00,f_jsjc=0.00,f_jjjtqd=2.50,f_jjjtjc=0.00,f_lcqd=0.00,f_lcjc=0.00,f_jcjtqd=0.00,"
    "f_jcjtjc=0.00,f_sjqd=0.00,f_sjjc=0.00,f_jsjtqd=0.00,f_jsjtjc=0.00,f_xlqd=0.00,f_xljc=0.00,"
    "f_jxjtqd=0.00,f_jxjtjc=0.00,f_mdqd=0.00,f_mdjc=0.00,f_bcjtqd=0.00,f_bcjtjc=0.00,f_jcjt=0.00,"
    "f_pcjt=0.00,f_fkjt=0.00,f_psjt=0.00,f_ybjt=0.00,f_tsjt=0.00,f_jtxe=300.00,f_fhjt=0.00 where "
    "f_jtxmbm='01' and f_cxbm='02'";
constexpr const char* kParameterAnsi =
    "begin ATOMIC if Not Exists(select * from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02') "
    "then Insert into tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd,f_jsqd,f_jsjc,f_jjjtqd,f_jjjtjc,f_lcqd,"
    "f_lcjc,f_jcjtqd,f_jcjtjc,f_sjqd,f_sjjc,f_jsjtqd,f_jsjtjc,f_xlqd,f_xljc,f_jxjtqd,f_jxjtjc,"
    "f_mdqd,f_mdjc,f_bcjtqd,f_bcjtjc,f_jcjt,f_pcjt,f_fkjt,f_psjt,f_ybjt,f_tsjt,f_jtxe,f_fhjt) "
    "Values('01','02',100.00,5.00,0.00,2.50,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,"
    "0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,300.00,0.00); else Update "
    "tbdyjtxmlb set f_jtqd=100.00,f_jsqd=5.00,f_jsjc=0.00,f_jjjtqd=2.50,f_jjjtjc=0.00,f_lcqd=0.00,"
    "f_lcjc=0.00,f_jcjtqd=0.00,f_jcjtjc=0.00,f_sjqd=0.00,f_sjjc=0.00,f_jsjtqd=0.00,f_jsjtjc=0.00,"
    "f_xlqd=0.00,f_xljc=0.00,f_jxjtqd=0.00,f_jxjtjc=0.00,f_mdqd=0.00,f_mdjc=0.00,f_bcjtqd=0.00,"
    "f_bcjtjc=0.00,f_jcjt=0.00,f_pcjt=0.00,f_fkjt=0.00,f_psjt=0.00,f_ybjt=0.00,f_tsjt=0.00,f_jtxe="
    "300.00,"
    "f_fhjt=0.00 where f_jtxmbm='01' and f_cxbm='02'; end if;End";

constexpr const char* kParameterNames[] = {
    "f_jtqd",   "f_jsqd", "f_jsjc", "f_jjjtqd", "f_jjjtjc", "f_lcqd", "f_lcjc", "f_jcjtqd",
    "f_jcjtjc", "f_sjqd", "f_sjjc", "f_jsjtqd", "f_jsjtjc", "f_xlqd", "f_xljc", "f_jxjtqd",
    "f_jxjtjc", "f_mdqd", "f_mdjc", "f_bcjtqd", "f_bcjtjc", "f_jcjt", "f_pcjt", "f_fkjt",
    "f_psjt",   "f_ybjt", "f_tsjt", "f_jtxe",   "f_fhjt"};
constexpr const char* kItemNames[] = {"f_jtxmbm", "f_jtxmmc", "f_lb", "f_jj", "f_jc",
                                      "f_jcs",    "f_js",     "f_ax", "f_bc", "f_srz",
                                      "f_fz",     "f_bz",     "f_fc"};

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A text between single quotes, as the editor must write it.
std::string Quoted(std::string_view text) {
  return "'" + ReplaceAll(std::string(text), "'", "''") + "'";
}

// Seconds on a clock that only runs forward. Not <chrono>: its "µs" has no GBK
// form, and our sources are compiled with a GBK execution character set.
double MonotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The error lines as the editor reads them: an array, lower bound 0, of texts.
void ExpectErrorLines(const Variant& error) {
  ASSERT_EQ(error.kind(), Variant::Kind::kArray);
  EXPECT_EQ(error.as_array().lower_bound, 0);
  EXPECT_FALSE(error.as_array().elements.empty());
  for (const Variant& line : error.as_array().elements)
    EXPECT_EQ(line.kind(), Variant::Kind::kString);
  EXPECT_EQ(HostErrorText(error).find("未知错误"), std::string::npos);
}

class StandinSaveTest : public ::testing::TestWithParam<Dialect> {
 protected:
  void SetUp() override {
    StandinConfig config;
    if (GetParam() == Dialect::kTransactSql) config.database_kind = "SQLSERVER";
    ConnectWithEmptyTables(BackendUnderTest(), std::move(config), service_);
  }
  void TearDown() override {
    service_.reset();
    if (BackendUnderTest().close) BackendUnderTest().close();
  }

  // The statement of the dialect under test, through AdaptSql as the editor sends it.
  std::string Statement(const char* transact_sql, const char* ansi) const {
    return GetParam() == Dialect::kTransactSql ? AdaptSql(transact_sql, false)
                                               : AdaptSql(ansi, true);
  }

  void ExpectItem(std::string_view code, std::string_view name, std::string_view category,
                  std::string_view flags) {
    DataPacket item = Query(*service_, "select * from tbdyjtxmda where f_jtxmbm=" + Quoted(code));
    ASSERT_EQ(item.row_count(), 1u);
    EXPECT_EQ(Cell(item, 0, "f_jtxmmc"), FieldValue(std::string(name)));
    EXPECT_EQ(Cell(item, 0, "f_lb"), FieldValue(std::string(category)));
    for (size_t flag = 0; flag < flags.size(); ++flag) {
      EXPECT_EQ(Cell(item, 0, kItemNames[3 + flag]), FieldValue(std::string(1, flags[flag])))
          << kItemNames[3 + flag];
    }
  }

  // Every parameter is 0 but the given ones.
  void ExpectParameters(std::string_view code, std::string_view type,
                        const std::vector<std::pair<std::string, double>>& non_zero) {
    DataPacket row = Query(*service_, "select * from tbdyjtxmlb where f_jtxmbm=" + Quoted(code) +
                                          " and f_cxbm=" + Quoted(type));
    ASSERT_EQ(row.row_count(), 1u);
    for (const char* name : kParameterNames) {
      double expected = 0;
      for (const auto& [field, value] : non_zero) {
        if (field == name) expected = value;
      }
      EXPECT_EQ(Cell(row, 0, name), FieldValue(expected)) << name;
    }
  }

  std::unique_ptr<StandinDataService> service_;
};

TEST_P(StandinSaveTest, ReportsTheKindThatSelectsTheDialect) {
  const Variant kind = service_->GetDatabaseKind();
  if (GetParam() == Dialect::kTransactSql) {
    EXPECT_EQ(kind, Variant(u"SQLSERVER"));
  } else {
    EXPECT_EQ(kind, Variant(BackendUnderTest().engine_kind));
  }
}

TEST_P(StandinSaveTest, WorkedExampleInsertsThenUpdatesTheRightRows) {
  // Rows of other keys, which neither run may touch.
  Execute(*service_,
          Batch({"insert into tbdyjtxmda(f_jtxmbm,f_jtxmmc,f_lb) values('011','其他','配送')",
                 "insert into tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd) values('01','03',7)"}));
  const std::vector<std::string> first = {Statement(kItemTransactSql, kItemAnsi),
                                          Statement(kParameterTransactSql, kParameterAnsi)};
  Execute(*service_, Batch(first));
  ExpectItem("01", "计件补助", "配送", "1000000000");
  ExpectParameters("01", "02",
                   {{"f_jtqd", 100}, {"f_jsqd", 5}, {"f_jjjtqd", 2.5}, {"f_jtxe", 300}});

  std::vector<std::string> second;
  for (std::string statement : first) {
    statement = ReplaceAll(statement, "计件补助", "整件补助");
    statement = ReplaceAll(statement, "'配送'", "'计件'");
    statement = ReplaceAll(statement, "100.00", "120.50");
    second.push_back(ReplaceAll(statement, "300.00", "280.00"));
  }
  Execute(*service_, Batch(second));
  ExpectItem("01", "整件补助", "计件", "1000000000");
  ExpectParameters("01", "02",
                   {{"f_jtqd", 120.5}, {"f_jsqd", 5}, {"f_jjjtqd", 2.5}, {"f_jtxe", 280}});

  ExpectItem("011", "其他", "配送", "");
  ExpectParameters("01", "03", {{"f_jtqd", 7}});
  EXPECT_EQ(Query(*service_, "select * from tbdyjtxmda").row_count(), 2u);
  EXPECT_EQ(Query(*service_, "select * from tbdyjtxmlb").row_count(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Database, StandinSaveTest,
                         ::testing::Values(Dialect::kTransactSql, Dialect::kAnsi),
                         [](const ::testing::TestParamInfo<Dialect>& info) {
                           return BackendUnderTest().name +
                                  (info.param == Dialect::kTransactSql ? "TransactSql" : "Ansi");
                         });

// Everything that does not depend on the dialect. The parameter only names the
// backend, so that the tests of the two programs have names of their own.
class StandinServiceTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    ConnectWithEmptyTables(BackendUnderTest(), Config(), service_, &connection_string_);
  }
  void TearDown() override {
    service_.reset();
    if (BackendUnderTest().close) BackendUnderTest().close();
  }
  virtual StandinConfig Config() { return {}; }

  std::unique_ptr<StandinDataService> service_;
  std::u16string connection_string_;
};

TEST_P(StandinServiceTest, FailingThirdStatementLeavesTheDatabaseAsBefore) {
  LoadDemo(*service_);
  const Snapshot before = TakeSnapshot(*service_);
  const std::vector<std::string> statements = {
      "update tbdycxda set f_cxmc='改名' where f_cxbm='01'",
      "insert into tbdyjtxmda(f_jtxmbm,f_jtxmmc,f_lb) values('99','新项目','计次')",
      "insert into no_such_table values(1)", "delete from tbdyjtxmlb"};
  std::string joined;
  for (const std::string& statement : statements) joined += statement + ";";

  for (Variant batch : {Batch(statements), Variant::FromText(joined)}) {
    SCOPED_TRACE(batch.kind() == Variant::Kind::kArray ? "array" : "one text");
    EXPECT_FALSE(service_->ExecuteStatement(batch));
    ExpectErrorLines(batch);
    const std::string text = HostErrorText(batch);
    EXPECT_NE(text.find("第 3 条语句"), std::string::npos) << Readable(text);
    EXPECT_NE(text.find("insert into no_such_table"), std::string::npos) << Readable(text);
    EXPECT_NE(text.find("no_such_table", text.find("\r\n")), std::string::npos)
        << "the driver's message follows: " << Readable(text);
    EXPECT_TRUE(TakeSnapshot(*service_) == before);
  }
}

TEST_P(StandinServiceTest, DeleteTextRemovesTheItemFromBothTables) {
  LoadDemo(*service_);
  Execute(*service_, Variant::FromText("Delete from tbdyjtxmlb where f_jtxmbm='01';"
                                       "Delete from tbdyjtxmda where f_jtxmbm='01'"));
  EXPECT_EQ(Query(*service_, "select * from tbdyjtxmda where f_jtxmbm='01'").row_count(), 0u);
  EXPECT_EQ(Query(*service_, "select * from tbdyjtxmlb where f_jtxmbm='01'").row_count(), 0u);
  EXPECT_EQ(Query(*service_, "select * from tbdyjtxmda").row_count(), 11u);
  EXPECT_EQ(Query(*service_, "select * from tbdyjtxmlb").row_count(), 77u);
}

TEST_P(StandinServiceTest, TextsRoundTripExactly) {
  const std::vector<std::string> values = {
      "O'Brien's", "计件补助", "配送   ", "  配送", "", "它's \"引号\" ;--x /*", "''"};
  std::vector<std::string> inserts;
  for (size_t i = 0; i < values.size(); ++i) {
    inserts.push_back("insert into tbdyjtxmda(f_jtxmbm,f_jtxmmc,f_lb) values('R" +
                      std::to_string(i) + "'," + Quoted(values[i]) + "," + Quoted(values[i]) + ")");
  }
  Execute(*service_, Batch(inserts));
  for (size_t i = 0; i < values.size(); ++i) {
    SCOPED_TRACE(Readable(values[i]));
    DataPacket found = Query(
        *service_, "select f_jtxmbm,f_jtxmmc from tbdyjtxmda where f_lb=" + Quoted(values[i]));
    ASSERT_EQ(found.row_count(), 1u);
    EXPECT_EQ(Cell(found, 0, "f_jtxmbm"), FieldValue("R" + std::to_string(i)));
    EXPECT_EQ(Cell(found, 0, "f_jtxmmc"), FieldValue(values[i]));
  }

  // Longer than one read of the driver's data.
  std::string long_text;
  for (int i = 0; i < 700; ++i) long_text += "计件";
  long_text += std::string(500, 'x');
  DataPacket found =
      Query(*service_, "select cast(" + Quoted(long_text) + " as varchar(5000)) as t");
  ASSERT_EQ(found.row_count(), 1u);
  EXPECT_EQ(found.cell(0, 0), FieldValue(long_text));
}

TEST_P(StandinServiceTest, LoadQueriesFillTheRecordTables) {
  LoadDemo(*service_);
  RecordTable cds_arc;
  for (const char* name : kItemNames) cds_arc.DeclareField(name, FieldKind::kText);
  ASSERT_NO_THROW(cds_arc.LoadPacket(Query(*service_, AdaptSql("select * from tbdyjtxmda", true))));
  EXPECT_EQ(cds_arc.RecordCount(), 12u);
  ASSERT_TRUE(cds_arc.Locate("f_jtxmbm", {"02"}));
  EXPECT_EQ(cds_arc.Text("f_jtxmmc"), "分装拣货补助");
  EXPECT_EQ(cds_arc.Text("f_fz"), "1");

  RecordTable cds_type;
  cds_type.DeclareField("f_jtxmbm", FieldKind::kText);
  cds_type.DeclareField("f_cxbm", FieldKind::kText);
  for (const char* name : kParameterNames) cds_type.DeclareField(name, FieldKind::kFloat);
  ASSERT_NO_THROW(cds_type.LoadPacket(Query(
      *service_,
      AdaptSql("select a.*,b.f_cxmc from tbdyjtxmlb a left join tbdycxda b on a.f_cxbm=b.f_cxbm",
               true))));
  EXPECT_EQ(cds_type.RecordCount(), 84u);
  ASSERT_TRUE(cds_type.Locate("f_jtxmbm;f_cxbm", {"01", "02"}));
  EXPECT_EQ(cds_type.Value("f_jtqd"), FieldValue(14.0));
  EXPECT_EQ(cds_type.Value("f_jtxe"), FieldValue(240.0));
  EXPECT_EQ(cds_type.Text("f_cxmc"), "五十铃厢式货车");
  const std::vector<PacketColumn> fields = cds_type.Fields();
  ASSERT_EQ(fields.size(), 32u);
  EXPECT_EQ(fields.back(), (PacketColumn{"f_cxmc", FieldKind::kText}));

  RecordTable cds_cx;
  ASSERT_NO_THROW(
      cds_cx.LoadPacket(Query(*service_, AdaptSql("select distinct f_cxbm from tbdycxda", true))));
  EXPECT_EQ(cds_cx.RecordCount(), 7u);
  EXPECT_EQ(cds_cx.Fields(), (std::vector<PacketColumn>{{"f_cxbm", FieldKind::kText}}));
}

TEST_P(StandinServiceTest, TreeQueriesGiveCategoriesAndTheirItems) {
  LoadDemo(*service_);
  DataPacket categories =
      Query(*service_, AdaptSql("select distinct f_lb from tbdyjtxmda order by f_lb", true));
  ASSERT_EQ(categories.columns(), (std::vector<PacketColumn>{{"f_lb", FieldKind::kText}}));
  std::set<std::string> names;
  for (size_t row = 0; row < categories.row_count(); ++row)
    names.insert(std::get<std::string>(categories.cell(row, 0)));
  EXPECT_EQ(names, (std::set<std::string>{"计件", "计次", "计时", "计程", "特殊"}));

  DataPacket items = Query(
      *service_, AdaptSql("select f_jtxmbm,f_jtxmmc from tbdyjtxmda where f_lb='计时'", true));
  ASSERT_EQ(items.columns(), (std::vector<PacketColumn>{{"f_jtxmbm", FieldKind::kText},
                                                        {"f_jtxmmc", FieldKind::kText}}));
  ASSERT_EQ(items.row_count(), 2u);
  std::set<std::string> codes = {std::get<std::string>(items.cell(0, 0)),
                                 std::get<std::string>(items.cell(1, 0))};
  EXPECT_EQ(codes, (std::set<std::string>{"07", "08"}));
}

TEST_P(StandinServiceTest, QueryGivesTextsNumbersAndNulls) {
  Execute(*service_,
          Batch({"insert into tbdycxda(f_cxbm,f_cxmc) values('08',null)",
                 "insert into tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd) values('01','08',-3.25)"}));
  DataPacket packet = Query(*service_,
                            "select b.f_cxmc,a.f_cxbm,a.f_jtqd from tbdyjtxmlb a left join "
                            "tbdycxda b on a.f_cxbm=b.f_cxbm");
  ASSERT_EQ(packet.columns(), (std::vector<PacketColumn>{{"f_cxmc", FieldKind::kText},
                                                         {"f_cxbm", FieldKind::kText},
                                                         {"f_jtqd", FieldKind::kFloat}}));
  ASSERT_EQ(packet.row_count(), 1u);
  EXPECT_TRUE(IsNull(packet.cell(0, 0)));
  EXPECT_EQ(packet.cell(0, 1), FieldValue(std::string("08")));
  EXPECT_EQ(packet.cell(0, 2), FieldValue(-3.25));
}

TEST_P(StandinServiceTest, FailedQueryGivesErrorLines) {
  Variant result;
  EXPECT_FALSE(service_->ExecuteQuery(Variant(u"select * from no_such_table"), result));
  ExpectErrorLines(result);
  const std::string text = HostErrorText(result);
  EXPECT_NE(text.find("select * from no_such_table"), std::string::npos) << Readable(text);
  EXPECT_GE(result.as_array().elements.size(), 2u)
      << "the driver's message follows: " << Readable(text);

  // The service goes on working after a failure.
  EXPECT_EQ(Query(*service_, "select * from tbdycxda").row_count(), 0u);
}

TEST_P(StandinServiceTest, TextThatIsNoQueryFailsAndChangesNothing) {
  LoadDemo(*service_);
  Variant result;
  EXPECT_FALSE(service_->ExecuteQuery(Variant(u"delete from tbdycxda"), result));
  ExpectErrorLines(result);
  EXPECT_EQ(Query(*service_, "select * from tbdycxda").row_count(), 7u);
}

TEST_P(StandinServiceTest, RefusesValuesThatAreNotStatements) {
  const std::vector<std::pair<const char*, Variant>> cases = {
      {"number", Variant(int32_t{5})},
      {"null", Variant::Null()},
      {"bytes", Variant(std::vector<uint8_t>{1, 2})},
      {"array with a number",
       Variant(
           VariantArray{0, {Variant(u"insert into tbdycxda(f_cxbm) values('01')"), Variant(2.5)}})},
      {"nested array",
       Variant(VariantArray{0, {Variant(VariantArray{0, {Variant(u"select 1")}})}})}};
  for (auto [name, value] : cases) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(service_->ExecuteStatement(value));
    ExpectErrorLines(value);
  }
  Variant query = Variant(int32_t{1});
  Variant result;
  EXPECT_FALSE(service_->ExecuteQuery(query, result));
  ExpectErrorLines(result);
  EXPECT_EQ(Query(*service_, "select * from tbdycxda").row_count(), 0u);
}

TEST_P(StandinServiceTest, NothingToDoSucceeds) {
  for (Variant value : {Variant(), Variant(VariantArray{0, {}}), Variant(u" \r\n ; "),
                        Variant(VariantArray{3, {Variant(u"")}})}) {
    const Variant sent = value;
    EXPECT_TRUE(service_->ExecuteStatement(value));
    EXPECT_EQ(value, sent);
  }
}

TEST_P(StandinServiceTest, MalformedConditionalStatementFailsTheBatch) {
  Variant batch = Batch(
      {"insert into tbdycxda(f_cxbm,f_cxmc) values('01','金杯面包车')",
       "If not Exists(select * from tbdycxda where f_cxbm='01' Update tbdycxda set f_cxmc='x'"});
  EXPECT_FALSE(service_->ExecuteStatement(batch));
  ExpectErrorLines(batch);
  const std::string text = HostErrorText(batch);
  EXPECT_NE(text.find("第 2 条语句"), std::string::npos) << Readable(text);
  EXPECT_NE(text.find("Exists("), std::string::npos) << Readable(text);
  EXPECT_EQ(Query(*service_, "select * from tbdycxda").row_count(), 0u);
}

TEST_P(StandinServiceTest, ConditionalFormsRunTheBranchTheConditionChooses) {
  Execute(*service_,
          Batch({// Absent: the insert runs.
                 "If not Exists(select * from tbdycxda where f_cxbm='01') insert into tbdycxda "
                 "values('01','a') "
                 "Else update tbdycxda set f_cxmc='wrong' where f_cxbm='01'",
                 // Present: the update runs.
                 "begin ATOMIC If not Exists(select * from tbdycxda where f_cxbm='01') then insert "
                 "into tbdycxda "
                 "values('01','wrong'); Else update tbdycxda set f_cxmc='b' where f_cxbm='01'; End "
                 "if;End",
                 // Present and no Else: nothing runs.
                 "If not Exists(select f_cxbm from tbdycxda where f_cxbm='01') insert into "
                 "tbdycxda values('01','dup')",
                 // A line comment closing the query does not swallow the condition's end.
                 "If not Exists(select * from tbdycxda where f_cxbm='02' -- 车型\n) insert into "
                 "tbdycxda values('02','c')"}));
  DataPacket packet = Query(*service_, "select f_cxbm,f_cxmc from tbdycxda order by f_cxbm");
  ASSERT_EQ(packet.row_count(), 2u);
  EXPECT_EQ(packet.cell(0, 1), FieldValue(std::string("b")));
  EXPECT_EQ(packet.cell(1, 1), FieldValue(std::string("c")));
}

TEST_P(StandinServiceTest, QueryInsideABatchDoesNotStopTheRest) {
  Execute(*service_,
          Variant::FromText("insert into tbdycxda(f_cxbm,f_cxmc) values('01','a');"
                            "select * from tbdycxda;"
                            "update tbdycxda set f_cxmc='b' where f_cxbm='01';"
                            "update tbdycxda set f_cxmc='c' where f_cxbm='no such code'"));
  DataPacket packet = Query(*service_, "select f_cxmc from tbdycxda");
  ASSERT_EQ(packet.row_count(), 1u);
  EXPECT_EQ(packet.cell(0, 0), FieldValue(std::string("b")));
}

// Another program holding the database: the operator hears so within a few
// seconds, nothing is written, and the same service saves once the hold is gone.
TEST_P(StandinServiceTest, HeldDatabaseFailsSoonWithTheLockMessageAndSavesOnceFree) {
  const auto expect_locked = [](bool succeeded, const Variant& error, double waited_seconds) {
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(error, Variant(VariantArray{0, {Variant(u"数据库正被其他程序占用,请稍后再试")}}))
        << Readable(HostErrorText(error));
    // The bound is 5 s; far more room here for a busy machine.
    EXPECT_GT(waited_seconds, 0);
    EXPECT_LT(waited_seconds, 15);
  };
  const auto codes = [&] {
    std::vector<std::string> found;
    DataPacket packet = Query(*service_, "select f_cxbm from tbdycxda order by f_cxbm");
    for (size_t row = 0; row < packet.row_count(); ++row)
      found.push_back(std::get<std::string>(packet.cell(row, 0)));
    return found;
  };
  ASSERT_FALSE(BackendUnderTest().holds.empty());
  for (const DatabaseHold& hold : BackendUnderTest().holds) {
    SCOPED_TRACE(hold.name);
    Execute(*service_, Variant(u"delete from tbdycxda"));
    std::optional<HeldDatabase> held;
    ASSERT_NO_THROW(held.emplace(connection_string_, hold));

    Variant batch = Batch({"insert into tbdycxda(f_cxbm,f_cxmc) values('01','金杯面包车')",
                           "insert into tbdycxda(f_cxbm,f_cxmc) values('02','五十铃厢式货车')"});
    double start = MonotonicSeconds();
    bool succeeded = service_->ExecuteStatement(batch);
    expect_locked(succeeded, batch, MonotonicSeconds() - start);

    Variant result;
    start = MonotonicSeconds();
    succeeded = service_->ExecuteQuery(Variant(u"select * from tbdycxda"), result);
    if (hold.stops_queries) {
      expect_locked(succeeded, result, MonotonicSeconds() - start);
    } else {
      EXPECT_TRUE(succeeded) << Readable(HostErrorText(result));
    }

    held.reset();
    EXPECT_EQ(codes(), std::vector<std::string>{});
    Execute(*service_, Batch({"insert into tbdycxda(f_cxbm,f_cxmc) values('03','依维柯')"}));
    EXPECT_EQ(codes(), std::vector<std::string>{"03"});
  }
}

TEST_P(StandinServiceTest, ReportsTheEngineAsTheDefaultKind) {
  EXPECT_EQ(service_->GetDatabaseKind(), Variant(BackendUnderTest().engine_kind));
}

class StandinRightsTest : public StandinServiceTest {
 protected:
  StandinConfig Config() override {
    StandinConfig config;
    config.refused_rights = {{u"0007", u"9026"}};
    return config;
  }
};

TEST_P(StandinRightsTest, RefusesOnlyTheConfiguredPairs) {
  EXPECT_FALSE(service_->CheckRight(u"0007", u"9026"));
  EXPECT_TRUE(service_->CheckRight(u"0007", u"9027"));
  EXPECT_TRUE(service_->CheckRight(u"0008", u"9026"));
  EXPECT_TRUE(service_->CheckRight(u"00070", u"9026"));
}

std::string BackendName(const ::testing::TestParamInfo<std::string>& info) { return info.param; }

INSTANTIATE_TEST_SUITE_P(Database, StandinServiceTest, ::testing::Values(BackendUnderTest().name),
                         BackendName);
INSTANTIATE_TEST_SUITE_P(Database, StandinRightsTest, ::testing::Values(BackendUnderTest().name),
                         BackendName);

}  // namespace
}  // namespace tarnvex::testing
