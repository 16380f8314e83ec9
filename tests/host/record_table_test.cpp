#include "host/record_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace tarnvex {
namespace {

struct TypeRow {
  FieldValue item;     // f_jtxmbm
  FieldValue vehicle;  // f_cxbm
  FieldValue start;    // f_jtqd
  FieldValue pieces;   // f_jsqd
  FieldValue name;     // f_cxmc, which the table does not declare
};

// Parameter rows as the editor's cdsType gets them: item 01 has two vehicle
// types, item 10 starts like item 01, item 02 has no starting point.
const std::vector<TypeRow> kTypeRows = {
    {"01", "01", 100.0, 5.0, "小车"},
    {"01", "02", 100.0, 2.5, "货车"},
    {"10", "01", 50.0, 0.0, "小车"},
    {"02", "01", FieldValue(), 1.0, "小车"},
};

DataPacket TypePacket(const std::vector<TypeRow>& rows = kTypeRows) {
  DataPacketBuilder builder;
  builder.AddColumn("f_jtxmbm", FieldKind::kText);
  builder.AddColumn("f_cxbm", FieldKind::kText);
  builder.AddColumn("f_jtqd", FieldKind::kFloat);
  builder.AddColumn("f_jsqd", FieldKind::kFloat);
  builder.AddColumn("f_cxmc", FieldKind::kText);
  for (const TypeRow& row : rows) {
    for (const FieldValue& cell : {row.item, row.vehicle, row.start, row.pieces, row.name}) {
      builder.AppendCell(cell);
    }
  }
  return builder.Build();
}

// "item/vehicle" of every record, in walking order.
std::string Walk(RecordTable& table) {
  std::string keys;
  for (table.First(); !table.Eof(); table.Next()) {
    if (!keys.empty()) keys += ' ';
    keys += table.Text("f_jtxmbm") + "/" + table.Text("f_cxbm");
  }
  return keys;
}

std::string Current(const RecordTable& table) {
  return table.Text("f_jtxmbm") + "/" + table.Text("f_cxbm");
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RecordTableError& error) {
    return error.what();
  }
  ADD_FAILURE() << "no RecordTableError";
  return {};
}

class RecordTableTest : public ::testing::Test {
 protected:
  RecordTableTest() {
    type_.DeclareField("f_jtxmbm", FieldKind::kText);
    type_.DeclareField("f_cxbm", FieldKind::kText);
    type_.DeclareField("f_jtqd", FieldKind::kFloat);
    type_.DeclareField("f_jsqd", FieldKind::kFloat);
    type_.LoadPacket(packet_);
  }

  void SetStart(const std::string& item, const std::string& vehicle, const std::string& start) {
    ASSERT_TRUE(type_.Locate("f_jtxmbm;f_cxbm", {item, vehicle}));
    type_.Edit();
    type_.SetText("f_jtqd", start);
    type_.Post();
  }

  const DataPacket packet_ = TypePacket();
  RecordTable type_;
};

TEST_F(RecordTableTest, LoadMakesFirstRecordCurrentAndKeepsUndeclaredColumns) {
  EXPECT_TRUE(type_.IsLoaded());
  EXPECT_EQ(type_.RecordCount(), 4u);
  EXPECT_FALSE(type_.Eof());
  EXPECT_EQ(Current(type_), "01/01");
  EXPECT_EQ(type_.Text("f_cxmc"), "小车");
  EXPECT_EQ(type_.Fields(), packet_.columns());
  EXPECT_EQ(Walk(type_), "01/01 01/02 10/01 02/01");
}

TEST_F(RecordTableTest, TakePacketSharesTheLoadedContent) {
  EXPECT_EQ(type_.TakePacket().content(), packet_.content());
}

TEST_F(RecordTableTest, TakenPacketLoadsAsAnEqualCopyWithPendingChanges) {
  SetStart("01", "02", "7.5");
  type_.Insert();
  type_.SetText("f_jtxmbm", "20");
  type_.SetText("f_cxbm", "01");  // left unposted: TakePacket posts it

  const DataPacket taken = type_.TakePacket();
  RecordTable copy;
  copy.LoadPacket(taken);

  EXPECT_EQ(*copy.TakePacket().content(), *taken.content());
  EXPECT_EQ(Walk(copy), "01/01 01/02 10/01 02/01 20/01");
  ASSERT_TRUE(copy.Locate("f_jtxmbm;f_cxbm", {"01", "02"}));
  EXPECT_EQ(std::get<double>(copy.Value("f_jtqd")), 7.5);
  EXPECT_EQ(copy.Text("f_cxmc"), "货车");
  ASSERT_TRUE(copy.Locate("f_jtxmbm", {"20"}));
  EXPECT_TRUE(IsNull(copy.Value("f_cxmc")));
}

TEST_F(RecordTableTest, PacketWithoutADeclaredFieldDoesNotLoadAndTableKeepsItsContent) {
  struct Case {
    const char* field;
    FieldKind kind;
  };
  for (const Case& c : {Case{"f_lb", FieldKind::kText}, Case{"f_cxmc", FieldKind::kFloat}}) {
    SCOPED_TRACE(c.field);
    RecordTable table;
    table.LoadPacket(packet_);
    table.Edit();
    table.SetText("f_cxbm", "09");
    table.DeclareField(c.field, c.kind);

    EXPECT_NE(ErrorOf([&] { table.LoadPacket(TypePacket({kTypeRows[0]})); }).find(c.field),
              std::string::npos);
    EXPECT_EQ(table.RecordCount(), 4u);
    EXPECT_EQ(Walk(table), "01/09 01/02 10/01 02/01");
  }
}

TEST(RecordTableNamesTest, FieldNamesMatchWithoutRegardToLetterCase) {
  RecordTable table;
  table.DeclareField("F_JTXMBM", FieldKind::kText);
  table.LoadPacket(TypePacket());

  EXPECT_TRUE(table.HasField("f_CXMC"));
  EXPECT_EQ(table.Text("F_Cxmc"), "小车");
  table.SetOrder("F_JSQD");
  ASSERT_TRUE(table.Locate("f_JtXmBm;F_cxbm", {"01", "02"}));
  table.Edit();
  table.SetText("F_JTQD", "1");
  table.Post();
  EXPECT_EQ(std::get<double>(table.Value("f_jtqd")), 1.0);
  EXPECT_THROW(table.DeclareField("f_jtxmbm", FieldKind::kText), RecordTableError);
}

TEST(RecordTableNamesTest, DoubleByteNamesAreNotFolded) {
  // 丄 and 乤 differ only in a trail byte, 'A' against 'a'.
  DataPacketBuilder builder;
  builder.AddColumn("丄", FieldKind::kText);
  builder.AddColumn("乤", FieldKind::kText);
  builder.AppendCell("first");
  builder.AppendCell("second");
  RecordTable table;
  table.LoadPacket(builder.Build());

  EXPECT_EQ(table.Text("丄"), "first");
  EXPECT_EQ(table.Text("乤"), "second");
}

TEST(RecordTableWalkTest, EmptyTableIsAtEndAtOnce) {
  RecordTable table;
  table.LoadPacket(TypePacket({}));
  EXPECT_TRUE(table.Eof());
  table.First();
  EXPECT_TRUE(table.Eof());
  EXPECT_TRUE(IsNull(table.Value("f_jtxmbm")));
  EXPECT_EQ(table.Text("f_jtqd"), "");
}

TEST(RecordTableWalkTest, NextFromTheLastRecordReachesTheEnd) {
  RecordTable table;
  table.LoadPacket(TypePacket({kTypeRows[0]}));
  table.First();
  EXPECT_FALSE(table.Eof());
  table.Next();
  EXPECT_TRUE(table.Eof());
  table.Next();
  EXPECT_TRUE(table.Eof());
}

TEST_F(RecordTableTest, MovingPostsThePendingEdit) {
  type_.Edit();
  type_.SetText("f_jtqd", "7");
  type_.Next();
  type_.First();
  EXPECT_EQ(type_.Text("f_jtqd"), "7");
}

struct LocateCase {
  const char* fields;
  std::vector<std::string> values;
  const char* found;  // "item/vehicle", or nullptr for no match
};

TEST_F(RecordTableTest, LocateComparesWholeValues) {
  const std::vector<LocateCase> cases = {
      {"f_jtxmbm", {"01"}, "01/01"},
      {"f_jtxmbm", {"10"}, "10/01"},
      {"f_jtxmbm", {"1"}, nullptr},
      {"f_jtxmbm", {"0"}, nullptr},
      {"f_jtxmbm", {"01 "}, nullptr},
      {"f_jtxmbm", {""}, nullptr},
      {"f_jtxmbm;f_cxbm", {"01", "02"}, "01/02"},
      {"f_jtxmbm;f_cxbm", {"1", "01"}, nullptr},
      {"f_jtxmbm;f_cxbm", {"010", "1"}, nullptr},
      {"f_jtxmbm; f_cxbm", {"02", "01"}, "02/01"},
      {"f_jtqd", {"50"}, "10/01"},
      {"f_jtqd", {"50.00"}, "10/01"},
      {"f_jtqd", {"5"}, nullptr},
      {"f_jtqd", {"abc"}, nullptr},
      {"f_jtqd", {""}, nullptr},
      {"f_jsqd;f_jtxmbm", {"-0", "10"}, "10/01"},
  };
  for (const LocateCase& c : cases) {
    SCOPED_TRACE(std::string(c.fields) + " = " + c.values.front());
    type_.First();
    const bool found = type_.Locate(c.fields, c.values);
    EXPECT_EQ(found, c.found != nullptr);
    if (found && c.found) {
      EXPECT_EQ(Current(type_), c.found);
    }
  }
}

TEST_F(RecordTableTest, LocateFindsRecordsInsertedOneByOne) {
  // The editor's way of adding parameter rows: look up, insert when missing.
  for (const char* vehicle : {"01", "02", "03"}) {
    ASSERT_FALSE(type_.Locate("f_jtxmbm;f_cxbm", {"20", vehicle}));
    type_.Insert();
    type_.SetText("f_jtxmbm", "20");
    type_.SetText("f_cxbm", vehicle);
    type_.SetNumber("f_jtqd", 0);
    type_.Post();
  }
  type_.Insert();
  type_.SetText("f_jtxmbm", "21");  // not posted: Locate posts it first

  ASSERT_TRUE(type_.Locate("f_jtxmbm;f_cxbm", {"20", "02"}));
  EXPECT_EQ(Current(type_), "20/02");
  ASSERT_TRUE(type_.Locate("f_jtxmbm", {"20"}));
  EXPECT_EQ(Current(type_), "20/01");
  EXPECT_TRUE(type_.Locate("f_jtxmbm", {"21"}));
  EXPECT_EQ(type_.RecordCount(), 8u);
}

TEST_F(RecordTableTest, LocateFollowsEditsOfTheKey) {
  ASSERT_TRUE(type_.Locate("f_jtxmbm;f_cxbm", {"01", "02"}));
  type_.Edit();
  type_.SetText("f_cxbm", "09");
  type_.Post();
  EXPECT_FALSE(type_.Locate("f_jtxmbm;f_cxbm", {"01", "02"}));
  ASSERT_TRUE(type_.Locate("f_jtxmbm;f_cxbm", {"01", "09"}));
  EXPECT_EQ(type_.Text("f_cxmc"), "货车");

  type_.Edit();
  type_.SetNull("f_jtxmbm");  // NULL equals nothing
  EXPECT_FALSE(type_.Locate("f_jtxmbm;f_cxbm", {"01", "09"}));
  EXPECT_FALSE(type_.Locate("f_jtxmbm;f_cxbm", {"", "09"}));

  ASSERT_TRUE(type_.Locate("f_jtqd", {"50"}));
  type_.Edit();
  type_.SetText("f_jtqd", "60");
  type_.Post();
  EXPECT_FALSE(type_.Locate("f_jtqd", {"50"}));
  EXPECT_TRUE(type_.Locate("f_jtqd", {"60"}));
}

TEST_F(RecordTableTest, LocateFindsTheFirstMatchInWalkingOrder) {
  type_.SetOrder("f_jsqd");  // 10/01 02/01 01/02 01/01
  ASSERT_TRUE(type_.Locate("f_jtxmbm", {"01"}));
  EXPECT_EQ(Current(type_), "01/02");
  type_.Next();
  EXPECT_EQ(Current(type_), "01/01");

  type_.SetOrder("");
  ASSERT_TRUE(type_.Locate("f_jtxmbm", {"01"}));
  EXPECT_EQ(Current(type_), "01/01");
}

TEST_F(RecordTableTest, SetOrderSortsNumbersAsNumbersWithNullFirstAndTiesInStorageOrder) {
  type_.SetOrder("f_jtqd");
  EXPECT_EQ(Walk(type_), "02/01 10/01 01/01 01/02");
  type_.SetOrder("f_cxbm;f_jtxmbm");
  EXPECT_EQ(Walk(type_), "01/01 02/01 10/01 01/02");
  type_.SetOrder("");
  EXPECT_EQ(Walk(type_), "01/01 01/02 10/01 02/01");
}

TEST_F(RecordTableTest, SetOrderKeepsTheCurrentRecordAndLastsAcrossLoads) {
  ASSERT_TRUE(type_.Locate("f_jtxmbm", {"10"}));
  type_.SetOrder("f_jtxmbm;f_cxbm");
  EXPECT_EQ(Current(type_), "10/01");
  type_.Next();
  EXPECT_TRUE(type_.Eof());

  type_.LoadPacket(TypePacket({kTypeRows[2], kTypeRows[0]}));
  EXPECT_EQ(Current(type_), "01/01");
  EXPECT_EQ(Walk(type_), "01/01 10/01");
}

TEST_F(RecordTableTest, SetOrderWithAnUnknownFieldNamesItAndKeepsTheOrder) {
  type_.SetOrder("f_jtqd");
  EXPECT_NE(ErrorOf([&] { type_.SetOrder("f_jtxmbm;f_nope"); }).find("f_nope"), std::string::npos);
  EXPECT_EQ(Walk(type_), "02/01 10/01 01/01 01/02");
}

TEST_F(RecordTableTest, PostedRecordTakesItsSortedPlace) {
  type_.SetOrder("f_jtxmbm;f_cxbm");
  type_.Insert();
  type_.SetText("f_jtxmbm", "05");
  type_.SetText("f_cxbm", "01");
  type_.Post();
  EXPECT_EQ(Current(type_), "05/01");
  type_.Next();
  EXPECT_EQ(Current(type_), "10/01");

  ASSERT_TRUE(type_.Locate("f_jtxmbm;f_cxbm", {"01", "01"}));
  type_.Edit();
  type_.SetText("f_jtxmbm", "11");
  type_.Post();
  EXPECT_EQ(Current(type_), "11/01");
  type_.Next();
  EXPECT_TRUE(type_.Eof());
  EXPECT_EQ(Walk(type_), "01/02 02/01 05/01 10/01 11/01");
  EXPECT_EQ(type_.RecordCount(), 5u);
}

TEST_F(RecordTableTest, ChangesNeverReachSharedPacketsOrOtherTables) {
  const DataPacket before = type_.TakePacket();
  SetStart("01", "01", "1");
  const DataPacket after = type_.TakePacket();
  EXPECT_EQ(std::get<double>(before.cell(0, 2)), 100.0);
  EXPECT_EQ(std::get<double>(packet_.cell(0, 2)), 100.0);
  EXPECT_EQ(std::get<double>(after.cell(0, 2)), 1.0);

  RecordTable other;
  other.LoadPacket(after);
  other.Edit();
  other.SetText("f_jtqd", "2");
  other.Insert();
  other.SetText("f_jtxmbm", "30");
  other.Post();
  SetStart("01", "01", "3");

  EXPECT_EQ(std::get<double>(after.cell(0, 2)), 1.0);
  EXPECT_EQ(after.row_count(), 4u);
  EXPECT_EQ(type_.RecordCount(), 4u);
  ASSERT_TRUE(other.Locate("f_jtxmbm;f_cxbm", {"01", "01"}));
  EXPECT_EQ(other.Text("f_jtqd"), "2");
  EXPECT_EQ(type_.Text("f_jtqd"), "3");
}

TEST_F(RecordTableTest, NumberFieldRefusesTextThatIsNotANumber) {
  type_.Edit();
  for (const char* text : {"abc", "1,5", "1.2.3", "", "1e3"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ErrorOf([&] { type_.SetText("f_jtqd", text); }),
              std::string("字段 f_jtqd 的值“") + text + "”不是有效的数字");
  }
  type_.Post();
  EXPECT_EQ(type_.Text("f_jtqd"), "100");
}

TEST_F(RecordTableTest, ValuesConvertBetweenTextAndNumberFields) {
  type_.Edit();
  type_.SetText("f_jtqd", " -2.5 ");
  type_.SetNumber("f_cxbm", 2.5);
  type_.SetNumber("f_jsqd", 3);
  type_.Post();
  EXPECT_EQ(std::get<double>(type_.Value("f_jtqd")), -2.5);
  EXPECT_EQ(std::get<std::string>(type_.Value("f_cxbm")), "2.5");
  EXPECT_EQ(type_.Text("f_jsqd"), "3");

  type_.Edit();
  EXPECT_THROW(type_.SetNumber("f_jtqd", std::numeric_limits<double>::quiet_NaN()),
               RecordTableError);
  EXPECT_THROW(type_.SetNumber("f_cxbm", std::numeric_limits<double>::infinity()),
               RecordTableError);
  EXPECT_EQ(type_.Text("f_jtqd"), "-2.5");
}

TEST_F(RecordTableTest, EmptyTableStaysOpenWithItsFields) {
  type_.EmptyTable();
  EXPECT_TRUE(type_.IsLoaded());
  EXPECT_EQ(type_.RecordCount(), 0u);
  EXPECT_TRUE(type_.Eof());
  EXPECT_EQ(type_.Fields(), packet_.columns());
  EXPECT_FALSE(type_.Locate("f_jtxmbm", {"01"}));
  EXPECT_EQ(packet_.row_count(), 4u);

  type_.Insert();
  type_.SetText("f_jtxmbm", "01");
  type_.Post();
  EXPECT_EQ(type_.RecordCount(), 1u);
  EXPECT_TRUE(type_.Locate("f_jtxmbm", {"01"}));
}

TEST(RecordTableClosedTest, ClosedTableRefusesUseAndHasNothingToWalk) {
  RecordTable table;
  table.DeclareField("f_jtxmbm", FieldKind::kText);
  const std::vector<std::function<void()>> uses = {
      [&] { table.Insert(); },
      [&] { table.Edit(); },
      [&] { table.EmptyTable(); },
      [&] { table.SetOrder("f_jtxmbm"); },
      [&] { table.Locate("f_jtxmbm", {"01"}); },
      [&] { table.Value("f_jtxmbm"); },
  };
  for (size_t i = 0; i < uses.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NE(ErrorOf(uses[i]).find("未打开"), std::string::npos);
  }
  table.First();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.RecordCount(), 0u);
  EXPECT_TRUE(table.TakePacket().columns().empty());
  EXPECT_FALSE(table.IsLoaded());
}

TEST_F(RecordTableTest, MisuseRaisesNamingTheField) {
  struct Case {
    const char* what;
    std::function<void()> use;
    const char* fragment;
  };
  const std::vector<Case> cases = {
      {"set without edit", [&] { type_.SetText("f_cxbm", "01"); }, "f_cxbm"},
      {"null without edit", [&] { type_.SetNull("f_jtqd"); }, "f_jtqd"},
      {"unknown value", [&] { type_.Value("f_nope"); }, "f_nope"},
      {"unknown text", [&] { type_.Text("f_nope"); }, "f_nope"},
      {"unknown locate",
       [&] {
         type_.Locate("f_jtxmbm;f_nope", {"01", "01"});
       },
       "f_nope"},
      {"unknown set",
       [&] {
         type_.Edit();
         type_.SetText("f_nope", "1");
       },
       "f_nope"},
      {"values short", [&] { type_.Locate("f_jtxmbm;f_cxbm", {"01"}); }, "f_jtxmbm;f_cxbm"},
      {"empty name",
       [&] {
         type_.Locate("f_jtxmbm;", {"01", ""});
       },
       "f_jtxmbm;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NE(ErrorOf(c.use).find(c.fragment), std::string::npos);
  }
  RecordTable empty;
  empty.LoadPacket(TypePacket({}));
  EXPECT_THROW(empty.Edit(), RecordTableError);
}

}  // namespace
}  // namespace tarnvex
