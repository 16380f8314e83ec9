// The save batch: the statements of both dialects byte for byte, how values
// are written into them, and what stops the batch before anything is sent.

#include "editor/save_batch.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/data_model.h"
#include "host/record_table.h"
#include "host/sql_dialect.h"
#include "text/number_text.h"

namespace tarnvex {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// An item: code, name, category, then the ten flags as one string of digits.
struct Item {
  FieldValue code;
  FieldValue name;
  FieldValue category;
  std::string flags = "0000000000";
};

DataPacket Items(const std::vector<Item>& items) {
  DataPacketBuilder builder;
  for (const char* field : kItemFields) builder.AddColumn(field, FieldKind::kText);
  for (const Item& item : items) {
    builder.AppendCell(item.code);
    builder.AppendCell(item.name);
    builder.AppendCell(item.category);
    for (char flag : item.flags) builder.AppendCell(std::string(1, flag));
  }
  return builder.Build();
}

// A parameter row: the numbers not given are 0. Columns come as the load's join
// gives them: the table's own, then the vehicle-type name.
struct Parameters {
  FieldValue code;
  FieldValue type;
  std::map<std::string, FieldValue> numbers;
};

DataPacket ParameterRows(const std::vector<Parameters>& rows) {
  DataPacketBuilder builder;
  builder.AddColumn(kFieldItemCode, FieldKind::kText);
  builder.AddColumn(kFieldTypeCode, FieldKind::kText);
  for (const char* field : kParameterFields) builder.AddColumn(field, FieldKind::kFloat);
  builder.AddColumn(kFieldTypeName, FieldKind::kText);
  for (const Parameters& row : rows) {
    builder.AppendCell(row.code);
    builder.AppendCell(row.type);
    for (const char* field : kParameterFields) {
      const auto given = row.numbers.find(field);
      builder.AppendCell(given == row.numbers.end() ? FieldValue(0.0) : given->second);
    }
    builder.AppendCell(std::string("车型"));
  }
  return builder.Build();
}

std::string ItemStatement(const Item& item, bool use_ansi) {
  const DataPacket packet = Items({item});
  std::string statement;
  ItemStatementWriter(packet).Append(0, use_ansi, statement);
  return statement;
}

std::string ParameterStatement(const Parameters& row, bool use_ansi) {
  const DataPacket packet = ParameterRows({row});
  std::string statement;
  ParameterStatementWriter(packet).Append(0, use_ansi, statement);
  return statement;
}

// The worked example: item 01 计件补助 of category 配送 measured by piece, and
// its parameters for vehicle type 02.
const Item kExampleItem{std::string("01"), std::string("计件补助"), std::string("配送"),
                        "1000000000"};
const Parameters kExampleParameters{
    std::string("01"),
    std::string("02"),
    {{"f_jtqd", 100.0}, {"f_jsqd", 5.0}, {"f_jjjtqd", 2.5}, {"f_jtxe", 300.0}}};

struct DialectCase {
  bool use_ansi;
  std::string item;
  std::string parameters;
};

const DialectCase kDialects[] = {
    {false,
     "If not Exists(select * from tbdyjtxmda where f_jtxmbm='01') Insert into "
     "tbdyjtxmda(f_jtxmbm,f_jtxmmc,f_lb,f_jj,f_jc,f_jcs,f_js,f_ax,f_bc,f_srz,f_fz,f_bz,f_fc) "
     "Values('01','计件补助','配送','1','0','0','0','0','0','0','0','0','0') Else Update "
     "tbDyJtxmda set "
     "f_jtxmmc='计件补助',f_lb='配送',f_jj='1',f_jc='0',f_jcs='0',f_js='0',f_ax='0',f_bc='0',"
     "f_srz='0',f_fz='0',f_bz='0',f_fc='0' where f_jtxmbm='01'",
     "if Not Exists(select * from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02') Insert into "
     "tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd,f_jsqd,f_jsjc,f_jjjtqd,f_jjjtjc,f_lcqd,f_lcjc,f_jcjtqd,"
     "f_jcjtjc,f_sjqd,f_sjjc,f_jsjtqd,f_jsjtjc,f_xlqd,f_xljc,f_jxjtqd,f_jxjtjc,f_mdqd,f_mdjc,"
     "f_bcjtqd,f_bcjtjc,f_jcjt,f_pcjt,f_fkjt,f_psjt,f_ybjt,f_tsjt,f_jtxe,f_fhjt ) "
     "Values('01','02',100.00,5.00,0.00,2.50,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,"
     "0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,300.00,0.00) else Update "
     "tbdyjtxmlb set "
     "f_jtqd=100.00,f_jsqd=5.00,f_jsjc=0.00,f_jjjtqd=2.50,f_jjjtjc=0.00,f_lcqd=0.00,f_lcjc=0.00,"
     "f_jcjtqd=0.00,f_jcjtjc=0.00,f_sjqd=0.00,f_sjjc=0.00,f_jsjtqd=0.00,f_jsjtjc=0.00,f_xlqd=0."
     "00,f_xljc=0.00,f_jxjtqd=0.00,f_jxjtjc=0.00,f_mdqd=0.00,f_mdjc=0.00,f_bcjtqd=0.00,f_bcjtjc="
     "0.00,f_jcjt=0.00,f_pcjt=0.00,f_fkjt=0.00,f_psjt=0.00,f_ybjt=0.00,f_tsjt=0.00,f_jtxe=300."
     "00,f_fhjt=0.00 where f_jtxmbm='01' and f_cxbm='02'"},
    {true,
     "begin ATOMIC If not Exists(select * from tbdyjtxmda where f_jtxmbm='01') then Insert into "
     "tbdyjtxmda(f_jtxmbm,f_jtxmmc,f_lb,f_jj,f_jc,f_jcs,f_js,f_ax,f_bc,f_srz,f_fz,f_bz,f_fc) "
     "Values('01','计件补助','配送','1','0','0','0','0','0','0','0','0','0'); Else Update "
     "tbDyJtxmda set "
     "f_jtxmmc='计件补助',f_lb='配送',f_jj='1',f_jc='0',f_jcs='0',f_js='0',f_ax='0',f_bc='0',"
     "f_srz='0',f_fz='0',f_bz='0',f_fc='0' where f_jtxmbm='01'; End if;End",
     "begin ATOMIC if Not Exists(select * from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02') "
     "then Insert into "
     "tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd,f_jsqd,f_jsjc,f_jjjtqd,f_jjjtjc,f_lcqd,f_lcjc,f_jcjtqd,"
     "f_jcjtjc,f_sjqd,f_sjjc,f_jsjtqd,f_jsjtjc,f_xlqd,f_xljc,f_jxjtqd,f_jxjtjc,f_mdqd,f_mdjc,"
     "f_bcjtqd,f_bcjtjc,f_jcjt,f_pcjt,f_fkjt,f_psjt,f_ybjt,f_tsjt,f_jtxe,f_fhjt) "
     "Values('01','02',100.00,5.00,0.00,2.50,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,"
     "0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,300.00,0.00); else "
     "Update tbdyjtxmlb set "
     "f_jtqd=100.00,f_jsqd=5.00,f_jsjc=0.00,f_jjjtqd=2.50,f_jjjtjc=0.00,f_lcqd=0.00,f_lcjc=0.00,"
     "f_jcjtqd=0.00,f_jcjtjc=0.00,f_sjqd=0.00,f_sjjc=0.00,f_jsjtqd=0.00,f_jsjtjc=0.00,f_xlqd=0."
     "00,f_xljc=0.00,f_jxjtqd=0.00,f_jxjtjc=0.00,f_mdqd=0.00,f_mdjc=0.00,f_bcjtqd=0.00,f_bcjtjc="
     "0.00,f_jcjt=0.00,f_pcjt=0.00,f_fkjt=0.00,f_psjt=0.00,f_ybjt=0.00,f_tsjt=0.00,f_jtxe=300."
     "00,f_fhjt=0.00 where f_jtxmbm='01' and f_cxbm='02'; end if;End"},
};

class SaveBatchDialectTest : public ::testing::TestWithParam<DialectCase> {};

TEST_P(SaveBatchDialectTest, WorkedExampleIsWrittenByteForByte) {
  const DialectCase& dialect = GetParam();
  EXPECT_EQ(ItemStatement(kExampleItem, dialect.use_ansi), dialect.item);
  EXPECT_EQ(ParameterStatement(kExampleParameters, dialect.use_ansi), dialect.parameters);
}

TEST_P(SaveBatchDialectTest, BatchHoldsItemsThenParameterRowsAfterAdaptation) {
  const DialectCase& dialect = GetParam();
  EXPECT_THAT(
      BuildSaveBatch(Items({kExampleItem}), ParameterRows({kExampleParameters}), dialect.use_ansi),
      ElementsAre(dialect.item, dialect.parameters));
}

INSTANTIATE_TEST_SUITE_P(BothDialects, SaveBatchDialectTest, ::testing::ValuesIn(kDialects),
                         [](const auto& info) {
                           return std::string(info.param.use_ansi ? "Ansi" : "SqlServer");
                         });

TEST(SaveBatchTest, QuotesInTextValuesAreDoubledWhereverTheyAppear) {
  for (bool use_ansi : {false, true}) {
    SCOPED_TRACE(use_ansi);
    const std::string item =
        ItemStatement({std::string("0'1"), std::string("it's"), std::string("'")}, use_ansi);
    EXPECT_THAT(item, HasSubstr("where f_jtxmbm='0''1')"));
    EXPECT_THAT(item, HasSubstr("Values('0''1','it''s','''','0'"));
    EXPECT_THAT(item, HasSubstr("f_jtxmmc='it''s',f_lb=''''"));

    const std::string parameters =
        ParameterStatement({std::string("0'1"), std::string("''"), {}}, use_ansi);
    EXPECT_THAT(parameters, HasSubstr("where f_jtxmbm='0''1' and f_cxbm='''''')"));
    EXPECT_THAT(parameters, HasSubstr("Values('0''1','''''',0.00"));
  }
}

TEST(SaveBatchTest, TextsAreWrittenExactlyWithBlanksAndChineseInside) {
  // In the ANSI dialect the adaptation leaves what stands inside a literal alone.
  const std::vector<std::string> batch = BuildSaveBatch(
      Items({{std::string("07 "), std::string(" 夜班 TB,tb=Tb "), std::string("计时  ")}}),
      ParameterRows({}), true);
  ASSERT_EQ(batch.size(), 1u);
  EXPECT_THAT(batch[0], HasSubstr("Values('07 ',' 夜班 TB,tb=Tb ','计时  ','0'"));
  EXPECT_THAT(batch[0], HasSubstr("where f_jtxmbm='07 '; End if;End"));
}

TEST(SaveBatchTest, FieldsWithoutValueAreWrittenAsSqlNull) {
  const std::string item = ItemStatement({std::string("01"), {}, {}}, false);
  EXPECT_THAT(item, HasSubstr("Values('01',NULL,NULL,'0'"));
  EXPECT_THAT(item, HasSubstr("f_jtxmmc=NULL,f_lb=NULL,f_jj='0'"));

  const std::string parameters =
      ParameterStatement({std::string("01"), std::string("02"), {{"f_jtqd", FieldValue()}}}, false);
  EXPECT_THAT(parameters, HasSubstr("Values('01','02',NULL,0.00,"));
  EXPECT_THAT(parameters, HasSubstr("set f_jtqd=NULL,f_jsqd=0.00,"));
}

TEST(SaveBatchTest, NumbersUseTheTwoDecimalPatternWithAPoint) {
  const struct {
    double value;
    std::string written;
  } kCases[] = {{1234.567, "1234.57"},
                {2.5, "2.50"},
                {0.0, "0.00"},
                {-0.0, "0.00"},
                {-3.0, "-3.00"},
                {0.05, "0.05"},
                {-0.05, "-0.05"},
                {0.29, "0.29"},
                {2.675, "2.68"},
                {1.005, "1.01"},
                {-0.001, "0.00"},
                {1e10 + 0.25, "10000000000.25"},
                {2e10 + 0.25, "20000000000.25"},
                {1e20, "100000000000000000000.00"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    const std::string statement =
        ParameterStatement({std::string("01"), std::string("02"), {{"f_fhjt", c.value}}}, true);
    EXPECT_THAT(statement, HasSubstr("," + c.written + "); else"));
    EXPECT_THAT(statement, HasSubstr("f_fhjt=" + c.written + " where"));
  }
}

TEST(SaveBatchTest, NumbersAreWrittenAsFormatNumberWritesThem) {
  std::vector<double> values;
  for (int k = -3000; k <= 3000; ++k) {
    values.push_back(k / 100.0);
    values.push_back(k / 1000.0);
    values.push_back(k * 12.345);
  }
  std::vector<Parameters> rows;
  for (double value : values) {
    rows.push_back({std::string("01"), std::string("02"), {{"f_jtqd", value}}});
  }
  const DataPacket packet = ParameterRows(rows);
  ParameterStatementWriter writer(packet);
  std::string statement;
  for (size_t row = 0; row < values.size(); ++row) {
    statement.clear();
    writer.Append(row, false, statement);
    const size_t at = statement.find("f_jtqd=") + 7;
    ASSERT_EQ(statement.substr(at, statement.find(',', at) - at), FormatNumber(values[row]))
        << values[row];
  }
}

TEST(SaveBatchTest, FieldsAreFoundByNameInAnyCaseAndOrder) {
  DataPacketBuilder builder;
  // The item fields in reverse order, in capitals.
  for (auto field = kItemFields.rbegin(); field != kItemFields.rend(); ++field) {
    std::string name = *field;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    builder.AddColumn(name, FieldKind::kText);
  }
  for (size_t i = kItemFields.size(); i-- > 0;) {
    builder.AppendCell(i == 0 ? std::string("01") : std::string(kItemFields[i]));
  }
  std::string statement;
  ItemStatementWriter(builder.Build()).Append(0, false, statement);
  EXPECT_THAT(statement, HasSubstr("Values('01','f_jtxmmc','f_lb','f_jj','f_jc','f_jcs','f_js',"
                                   "'f_ax','f_bc','f_srz','f_fz','f_bz','f_fc')"));
}

TEST(SaveBatchTest, ATableWithoutAWrittenFieldStopsTheBatch) {
  DataPacketBuilder builder;
  builder.AddColumn(kFieldItemCode, FieldKind::kText);
  const DataPacket codes_only = builder.Build();
  EXPECT_THROW(BuildSaveBatch(codes_only, ParameterRows({}), false), SaveBatchError);
  EXPECT_THROW(BuildSaveBatch(Items({}), codes_only, false), SaveBatchError);
}

TEST(SaveBatchTest, ANumberThatIsNotFiniteStopsTheBatchNamingTheRecord) {
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    try {
      BuildSaveBatch(Items({}),
                     ParameterRows({kExampleParameters,
                                    {std::string("09"), std::string("03"), {{"f_jtxe", bad}}}}),
                     false);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const SaveBatchError& error) {
      EXPECT_THAT(error.what(), HasSubstr("09"));
      EXPECT_THAT(error.what(), HasSubstr("03"));
      EXPECT_THAT(error.what(), HasSubstr("f_jtxe"));
    }
  }
}

class PackSaveBatchTest : public ::testing::Test {
 protected:
  PackSaveBatchTest() {
    DeclareItemFields(cdsArc);
    DeclareParameterFields(cdsType);
  }

  RecordTable cdsArc;
  RecordTable cdsType;
};

TEST_F(PackSaveBatchTest, TablesWithoutRecordsPackIntoAnEmptyValue) {
  cdsArc.LoadPacket(Items({}));
  cdsType.LoadPacket(ParameterRows({}));
  EXPECT_TRUE(PackSaveBatch(cdsArc, cdsType, true).is_empty());
}

TEST_F(PackSaveBatchTest, RecordsPackIntoAnArrayFromZeroIncludingRecordsAddedInMemory) {
  cdsArc.LoadPacket(Items({kExampleItem}));
  cdsType.LoadPacket(ParameterRows({}));
  cdsArc.Insert();
  cdsArc.SetText(kFieldItemCode, "02");
  cdsArc.Post();

  const Variant packed = PackSaveBatch(cdsArc, cdsType, false);
  ASSERT_EQ(packed.kind(), Variant::Kind::kArray);
  const VariantArray& array = packed.as_array();
  EXPECT_EQ(array.lower_bound, 0);
  ASSERT_EQ(array.elements.size(), 2u);
  EXPECT_EQ(array.elements[0], Variant::FromText(kDialects[0].item));
  EXPECT_THAT(array.elements[1].ToText().value(), HasSubstr("where f_jtxmbm='02'"));
}

// The save batch written the plain way: each statement spelled out from the
// field lists by appending strings, every value through FormatNumber or a
// quoted literal. The writers above build the same text by faster means; this
// is what they must agree with, record for record, in both dialects.
std::string ReferenceLiteral(const FieldValue& value) {
  const auto* text = std::get_if<std::string>(&value);
  if (text == nullptr) return "NULL";
  std::string literal = "'";
  for (char c : *text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return literal + "'";
}

std::string ReferenceNumber(const FieldValue& value) {
  const auto* number = std::get_if<double>(&value);
  return number == nullptr ? "NULL" : FormatNumber(*number);
}

FieldValue Cell(const DataPacket& packet, size_t row, const char* field) {
  return packet.cell(row, *packet.FindColumn(field));
}

std::string ReferenceItemStatement(const DataPacket& items, size_t row, bool use_ansi) {
  const std::string code = ReferenceLiteral(Cell(items, row, kFieldItemCode));
  std::string columns;
  std::string values;
  std::string assignments;
  for (size_t i = 0; i < kItemFields.size(); ++i) {
    const std::string value = ReferenceLiteral(Cell(items, row, kItemFields[i]));
    columns += std::string(i == 0 ? "" : ",") + kItemFields[i];
    values += (i == 0 ? "" : ",") + value;
    if (i >= 1) assignments += std::string(i == 1 ? "" : ",") + kItemFields[i] + "=" + value;
  }
  std::string statement = use_ansi ? "begin ATOMIC " : "";
  statement += "If not Exists(select * from tbdyjtxmda where f_jtxmbm=" + code + ")";
  statement += use_ansi ? " then " : " ";
  statement += "Insert into tbdyjtxmda(" + columns + ") Values(" + values + ")";
  statement += use_ansi ? "; " : " ";
  statement += "Else Update tbDyJtxmda set " + assignments + " where f_jtxmbm=" + code;
  if (use_ansi) statement += "; End if;End";
  return statement;
}

std::string ReferenceParameterStatement(const DataPacket& parameters, size_t row, bool use_ansi) {
  const std::string code = ReferenceLiteral(Cell(parameters, row, kFieldItemCode));
  const std::string type = ReferenceLiteral(Cell(parameters, row, kFieldTypeCode));
  const std::string key = " where f_jtxmbm=" + code + " and f_cxbm=" + type;
  std::string columns = "f_jtxmbm,f_cxbm";
  std::string values = code + "," + type;
  std::string assignments;
  for (size_t i = 0; i < kParameterFields.size(); ++i) {
    const std::string value = ReferenceNumber(Cell(parameters, row, kParameterFields[i]));
    columns += std::string(",") + kParameterFields[i];
    values += "," + value;
    assignments += std::string(i == 0 ? "" : ",") + kParameterFields[i] + "=" + value;
  }
  std::string statement = use_ansi ? "begin ATOMIC " : "";
  statement += "if Not Exists(select * from tbdyjtxmlb" + key + ")";
  statement += use_ansi ? " then " : " ";
  // The SQL Server form has a blank after the column list, the ANSI one not.
  statement +=
      "Insert into tbdyjtxmlb(" + columns + (use_ansi ? ")" : " )") + " Values(" + values + ")";
  statement += use_ansi ? "; " : " ";
  statement += "else Update tbdyjtxmlb set " + assignments + key;
  if (use_ansi) statement += "; end if;End";
  return statement;
}

std::vector<std::string> ReferenceSaveBatch(const DataPacket& items, const DataPacket& parameters,
                                            bool use_ansi) {
  std::vector<std::string> batch;
  for (size_t row = 0; row < items.row_count(); ++row) {
    batch.push_back(AdaptSql(ReferenceItemStatement(items, row, use_ansi), use_ansi));
  }
  for (size_t row = 0; row < parameters.row_count(); ++row) {
    batch.push_back(AdaptSql(ReferenceParameterStatement(parameters, row, use_ansi), use_ansi));
  }
  return batch;
}

// Records that reach every way a value is written: quotes, blanks, Chinese,
// NULL texts and numbers, zeros of both signs, cents that round, amounts past
// the fast path's range, and the flags in every position.
const std::vector<Item> kReferenceItems = {
    {std::string("01"), std::string("计件补助"), std::string("配送"), "1000000000"},
    {std::string("it's"), std::string("''"), std::string(" 类 别 "), "0101010101"},
    {FieldValue(), std::string(""), FieldValue(), "1111111111"},
    {std::string("A(1)"), std::string("名'称"), std::string("计时"), "0000000001"},
};

const std::vector<Parameters> kReferenceParameters = {
    {std::string("01"),
     std::string("02"),
     {{"f_jtqd", 100.0}, {"f_jsqd", 5.0}, {"f_jjjtqd", 2.5}, {"f_jtxe", 300.0}}},
    {std::string("it's"),
     std::string("0'1"),
     {{"f_jtqd", -0.0}, {"f_jsjc", -3.0}, {"f_lcqd", 0.05}, {"f_fhjt", 2.675}}},
    {FieldValue(),
     FieldValue(),
     {{"f_jtqd", FieldValue()}, {"f_sjqd", 1.005}, {"f_tsjt", -0.001}, {"f_jtxe", FieldValue()}}},
    {std::string("A(1)"),
     std::string("03"),
     {{"f_jtqd", 1e10 + 0.25}, {"f_jsqd", 1e20}, {"f_xlqd", 1234.567}, {"f_bcjtjc", -12.345}}},
};

TEST(SaveBatchReferenceTest, TheFastWritersWriteWhatThePlainOneWrites) {
  const DataPacket items = Items(kReferenceItems);
  const DataPacket parameters = ParameterRows(kReferenceParameters);
  for (const bool use_ansi : {false, true}) {
    SCOPED_TRACE(use_ansi ? "ANSI" : "SQL Server");
    EXPECT_EQ(BuildSaveBatch(items, parameters, use_ansi),
              ReferenceSaveBatch(items, parameters, use_ansi));
  }
}

}  // namespace
}  // namespace tarnvex
