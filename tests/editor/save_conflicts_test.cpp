// The read-back before a save: its queries and how a stored record is told
// apart from the one this editor read.

#include "editor/save_conflicts.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarnvex {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(ReadBackQueries, NameTheCodesInChunksOfTwoHundredWithQuotesDoubled) {
  EXPECT_THAT(ReadBackQueries("tbdyjtxmda", {}), ElementsAre());
  EXPECT_THAT(ReadBackQueries("tbdyjtxmlb", {"01", "O'K"}),
              ElementsAre("select * from tbdyjtxmlb where f_jtxmbm in ('01','O''K')"));

  std::vector<std::string> codes;
  for (int i = 0; i < 401; ++i) codes.push_back(std::to_string(i));
  const std::vector<std::string> queries = ReadBackQueries("tbdyjtxmda", codes);
  ASSERT_EQ(queries.size(), 3u);
  EXPECT_THAT(queries[0], HasSubstr("in ('0','1',"));
  EXPECT_THAT(queries[0], HasSubstr(",'199')"));
  EXPECT_THAT(queries[1], HasSubstr("in ('200',"));
  EXPECT_EQ(queries[2], "select * from tbdyjtxmda where f_jtxmbm in ('400')");
}

DataPacket Record(FieldValue name, FieldValue number) {
  DataPacketBuilder builder;
  builder.AddColumn("f_jtxmbm", FieldKind::kText);
  builder.AddColumn("f_jtxmmc", FieldKind::kText);
  builder.AddColumn("f_jtqd", FieldKind::kFloat);
  builder.AppendCell(std::string("01"));
  builder.AppendCell(std::move(name));
  builder.AppendCell(std::move(number));
  return builder.Build();
}

TEST(CompareWithStored, TellsChangedDeletedAddedAndTheSame) {
  const DataPacket loaded = Record(std::string("甲"), 1.0);
  const ChangeTracker::LoadedRecord mine{loaded, 0};
  struct Case {
    const char* what;
    std::optional<ChangeTracker::LoadedRecord> loaded;
    std::optional<DataPacket> stored;
    std::optional<ConflictKind> expected;
  };
  const Case cases[] = {
      {"the same", mine, Record(std::string("甲"), 1.0), std::nullopt},
      {"a text", mine, Record(std::string("甲 "), 1.0), ConflictKind::kChanged},
      {"a number", mine, Record(std::string("甲"), 1.005), ConflictKind::kChanged},
      {"NULL for a text", ChangeTracker::LoadedRecord{Record(std::string(), 1.0), 0},
       Record(FieldValue(), 1.0), ConflictKind::kChanged},
      {"gone", mine, std::nullopt, ConflictKind::kDeleted},
      {"added by both", std::nullopt, Record(std::string("乙"), 2.0), ConflictKind::kAdded},
      {"added here only", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CompareWithStored(c.loaded, c.stored ? &*c.stored : nullptr, 0), c.expected);
  }
}

}  // namespace
}  // namespace tarnvex
