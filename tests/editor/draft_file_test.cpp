// The draft file's format: what is written reads back the same, the file's
// name stands for any operator code, and what is not a whole draft is refused.

#include "editor/draft_file.h"

#include <string>

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

TEST(DraftFile, ReadsBackAsWrittenWithEveryKindOfCell) {
  DataPacketBuilder items;
  items.AddColumn("f_jtxmbm", FieldKind::kText);
  items.AddColumn("f_jtxmmc", FieldKind::kText);
  items.AppendCell(std::string("01"));
  items.AppendCell(std::string("名称 'quoted'\t"));
  items.AppendCell(std::string("02"));
  items.AppendCell(FieldValue());
  DataPacketBuilder read;
  read.AddColumn(kDraftReadColumn, FieldKind::kText);
  read.AddColumn("f_jtxmbm", FieldKind::kText);
  read.AddColumn("f_jtxmmc", FieldKind::kText);
  for (const char* flag : {"1", "0"}) {
    read.AppendCell(std::string(flag));
    read.AppendCell(FieldValue());
    read.AppendCell(FieldValue());
  }
  DataPacketBuilder parameters;
  parameters.AddColumn("f_jtxmbm", FieldKind::kText);
  parameters.AddColumn("f_cxbm", FieldKind::kText);
  parameters.AddColumn("f_jtqd", FieldKind::kFloat);
  DataPacketBuilder parameters_read;
  parameters_read.AddColumn(kDraftReadColumn, FieldKind::kText);
  const Draft draft{.operator_code = "操作员1",
                    .process_id = 4321,
                    .session = "0123456789abcdef",
                    .items = {items.Build(), read.Build()},
                    .parameters = {parameters.Build(), parameters_read.Build()}};

  const Draft back = ParseDraft(SerializeDraft(draft));
  EXPECT_EQ(back.operator_code, "操作员1");
  EXPECT_EQ(back.process_id, 4321u);
  EXPECT_EQ(back.session, "0123456789abcdef");
  EXPECT_EQ(*back.items.now.content(), *draft.items.now.content());
  EXPECT_EQ(*back.items.read.content(), *draft.items.read.content());
  EXPECT_EQ(back.parameters.now.columns(), draft.parameters.now.columns());
  EXPECT_EQ(back.parameters.now.row_count(), 0u);

  // Every byte matters: any one changed is refused, never misread.
  const std::string bytes = SerializeDraft(draft);
  for (size_t at = 0; at < bytes.size(); ++at) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
    EXPECT_THROW(ParseDraft(damaged), DraftFormatError) << at;
  }
  EXPECT_THROW(ParseDraft(bytes + "x"), DraftFormatError);
  EXPECT_THROW(ParseDraft(""), DraftFormatError);
}

TEST(DraftFile, ItsNameHoldsAnyOperatorCodeAsPlainCharacters) {
  const std::filesystem::path settings = std::filesystem::path("host") / "Tarnvexpos.ini";
  EXPECT_EQ(DraftFilePath(settings, "0001", "s1"),
            std::filesystem::path("host") / "Tarnvexdraft-0001-s1.dat");
  EXPECT_EQ(DraftFilePath(settings, "a/b-张", "s").filename(), "Tarnvexdraft-a%2Fb%2D%D5%C5-s.dat");
  EXPECT_EQ(NewDraftSession().size(), 16u);
  EXPECT_NE(NewDraftSession(), NewDraftSession());
}

}  // namespace
}  // namespace tarnvex
