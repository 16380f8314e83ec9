#include "host/data_packet.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace tarnvex {
namespace {

// Columns a (text) and b (number); rows ("x", 1.5) and (NULL, NULL), written
// out by hand so that the test pins the documented layout byte for byte.
const std::vector<uint8_t> kSmallPacket = {
    'T',  'V',  'D',  'P',                                 // 0: magic
    0x01, 0x00,                                            // 4: version 1
    0x00, 0x00,                                            // 6: flags
    0x02, 0x00, 0x00, 0x00,                                // 8: two columns
    0x01, 0x01, 0x00, 0x00, 0x00, 'a',                     // 12: text column "a"
    0x02, 0x01, 0x00, 0x00, 0x00, 'b',                     // 18: number column "b"
    0x02, 0x00, 0x00, 0x00,                                // 24: two rows
    0x01, 0x01, 0x00, 0x00, 0x00, 'x',                     // 28: text "x"
    0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,  // 34: 1.5
    0x00,                                                  // 43: NULL
    0x00,                                                  // 44: NULL
};

DataPacket SmallPacket() {
  DataPacketBuilder builder;
  builder.AddColumn("a", FieldKind::kText);
  builder.AddColumn("b", FieldKind::kFloat);
  for (FieldValue cell : {FieldValue("x"), FieldValue(1.5), FieldValue(), FieldValue()}) {
    builder.AppendCell(std::move(cell));
  }
  return builder.Build();
}

// Values that a careless writer or reader would bend: NULLs, empty and
// double-byte texts, an embedded zero byte, signed zero, extreme doubles.
DataPacket AwkwardPacket() {
  DataPacketBuilder builder;
  builder.AddColumn("f_jtxmbm", FieldKind::kText);
  builder.AddColumn("项目名称", FieldKind::kText);
  builder.AddColumn("f_jtqd", FieldKind::kFloat);
  using Limits = std::numeric_limits<double>;
  const std::vector<std::array<FieldValue, 3>> rows = {
      {"01", "计件补助", 100.0},
      {"", FieldValue(), -0.0},
      {FieldValue(), std::string("a\0b", 3), Limits::max()},
      {"10", "配送", Limits::denorm_min()},
      {"11", "", FieldValue()},
      {"12", "x", Limits::quiet_NaN()},
      {"13", "y", -Limits::infinity()},
  };
  for (const auto& row : rows) {
    for (const FieldValue& cell : row) builder.AppendCell(cell);
  }
  return builder.Build();
}

std::vector<uint8_t> Patched(size_t offset, std::vector<uint8_t> bytes) {
  std::vector<uint8_t> patched = kSmallPacket;
  std::copy(bytes.begin(), bytes.end(), patched.begin() + static_cast<std::ptrdiff_t>(offset));
  return patched;
}

std::string ParseError(const std::vector<uint8_t>& bytes) {
  try {
    DataPacket::Parse(bytes);
  } catch (const PacketFormatError& error) {
    return error.what();
  }
  ADD_FAILURE() << "parsed without error";
  return {};
}

TEST(DataPacketFormatTest, SerializesTheDocumentedLayout) {
  EXPECT_EQ(SmallPacket().Serialize(), kSmallPacket);
}

TEST(DataPacketFormatTest, ParsesTheDocumentedLayout) {
  const DataPacket packet = DataPacket::Parse(kSmallPacket);
  EXPECT_EQ(*packet.content(), *SmallPacket().content());
}

TEST(DataPacketFormatTest, RoundTripKeepsEveryValueExactly) {
  const DataPacket original = AwkwardPacket();
  const std::vector<uint8_t> bytes = original.Serialize();
  const DataPacket parsed = DataPacket::Parse(bytes);

  ASSERT_EQ(parsed.columns(), original.columns());
  ASSERT_EQ(parsed.row_count(), original.row_count());
  EXPECT_EQ(parsed.Serialize(), bytes);
  EXPECT_EQ(std::get<std::string>(parsed.cell(0, 1)), "计件补助");
  EXPECT_EQ(std::get<std::string>(parsed.cell(1, 0)), "");
  EXPECT_TRUE(IsNull(parsed.cell(1, 1)));
  EXPECT_TRUE(std::signbit(std::get<double>(parsed.cell(1, 2))));
  EXPECT_EQ(std::get<std::string>(parsed.cell(2, 1)), std::string("a\0b", 3));
  EXPECT_EQ(std::get<double>(parsed.cell(3, 2)), std::numeric_limits<double>::denorm_min());
  EXPECT_TRUE(IsNull(parsed.cell(4, 2)));
  EXPECT_TRUE(std::isnan(std::get<double>(parsed.cell(5, 2))));
}

TEST(DataPacketFormatTest, EmptyPacketRoundTrips) {
  const DataPacket parsed = DataPacket::Parse(DataPacket().Serialize());
  EXPECT_TRUE(parsed.columns().empty());
  EXPECT_EQ(parsed.row_count(), 0u);
}

TEST(DataPacketFormatTest, EveryTruncationFailsCleanly) {
  const std::vector<uint8_t> bytes = AwkwardPacket().Serialize();
  for (size_t length = 0; length < bytes.size(); ++length) {
    // A copy of exactly the prefix, so that a read past it is a real overrun
    // that the address sanitizer or a debug iterator would catch.
    const std::vector<uint8_t> prefix(bytes.begin(),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(length));
    SCOPED_TRACE(length);
    EXPECT_THROW(DataPacket::Parse(prefix), PacketFormatError);
  }
}

TEST(DataPacketFormatTest, CorruptedBytesFailOnlyAsFormatErrors) {
  const std::vector<uint8_t> bytes = AwkwardPacket().Serialize();
  for (size_t offset = 0; offset < bytes.size(); ++offset) {
    for (uint8_t value : {0x00, 0x03, 0x7F, 0xFF}) {
      std::vector<uint8_t> corrupted = bytes;
      corrupted[offset] = value;
      SCOPED_TRACE(offset);
      try {
        DataPacket::Parse(corrupted);
      } catch (const PacketFormatError&) {
      }
    }
  }
}

TEST(DataPacketFormatTest, MalformedPacketsNameTheFaultAndItsOffset) {
  std::vector<uint8_t> trailing = kSmallPacket;
  trailing.push_back(0x00);
  const std::vector<uint8_t> rows_without_columns = {'T', 'V', 'D', 'P', 1, 0, 0, 0,
                                                     0,   0,   0,   0,   1, 0, 0, 0};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    std::string fragment;
  };
  const std::vector<Case> cases = {
      {"bad magic", Patched(0, {'T', 'V', 'D', 'X'}), "偏移 0 处的标识不是“TVDP”"},
      {"unknown version", Patched(4, {0x02, 0x00}), "偏移 4 处的版本号 2"},
      {"unknown flags", Patched(6, {0x01, 0x00}), "偏移 6 处的标志 1"},
      {"column count past the end", Patched(8, {0xFF, 0xFF, 0xFF, 0xFF}), "偏移 8 处的列数"},
      {"unknown column kind", Patched(12, {0x03}), "偏移 12 处的列类型 3"},
      {"column name past the end", Patched(13, {0xF0, 0xFF, 0xFF, 0xFF}), "偏移 17 处的列名不完整"},
      {"row count past the end", Patched(24, {0xFF, 0xFF, 0xFF, 0xFF}), "偏移 24 处的行数"},
      {"rows without columns", rows_without_columns, "偏移 12 处"},
      {"unknown cell tag", Patched(28, {0x07}), "偏移 28 处的单元格标记 7 无效"},
      {"number in a text column", Patched(28, {0x02}), "偏移 28 处的单元格标记 2 与字段 a"},
      {"text in a number column", Patched(34, {0x01}), "偏移 34 处的单元格标记 1 与字段 b"},
      {"text past the end", Patched(29, {0xFF, 0xFF, 0xFF, 0x7F}), "偏移 33 处的文本不完整"},
      {"trailing bytes", trailing, "偏移 45 处"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = ParseError(c.bytes);
    EXPECT_NE(message.find(c.fragment), std::string::npos) << message;
  }
}

TEST(DataPacketVariantTest, TravelsAsAByteArray) {
  const Variant value = SmallPacket().ToVariant();
  ASSERT_EQ(value.kind(), Variant::Kind::kBytes);
  EXPECT_EQ(value.as_bytes(), kSmallPacket);
  EXPECT_EQ(*DataPacket::FromVariant(value).content(), *SmallPacket().content());
}

TEST(DataPacketVariantTest, AnythingButABytesArrayIsRefused) {
  VariantArray array;
  array.elements.push_back(Variant(std::vector<uint8_t>(kSmallPacket)));
  for (const Variant& value : {Variant(), Variant::Null(), Variant(u"TVDP"), Variant(int32_t{1}),
                               Variant(std::move(array))}) {
    SCOPED_TRACE(static_cast<int>(value.kind()));
    EXPECT_THROW(DataPacket::FromVariant(value), PacketFormatError);
  }
}

TEST(DataPacketBuilderTest, RefusesCellsThatDoNotFitTheirColumn) {
  DataPacketBuilder builder;
  builder.AddColumn("f_jtxmbm", FieldKind::kText);
  builder.AddColumn("f_jtqd", FieldKind::kFloat);
  EXPECT_THROW(builder.AppendCell(1.0), PacketFormatError);
  builder.AppendCell("01");
  EXPECT_THROW(builder.AppendCell("100"), PacketFormatError);
  EXPECT_THROW(builder.AddColumn("f_jsqd", FieldKind::kFloat), PacketFormatError);
  EXPECT_THROW(builder.Build(), PacketFormatError);  // the row lacks f_jtqd
  builder.AppendCell(FieldValue());
  EXPECT_EQ(builder.Build().row_count(), 1u);
}

TEST(DataPacketBuilderTest, RefusesCellsWithoutColumns) {
  DataPacketBuilder builder;
  EXPECT_THROW(builder.AppendCell(FieldValue()), PacketFormatError);
}

TEST(DataPacketBuilderTest, BuiltPacketIsNotChangedByLaterUse) {
  DataPacketBuilder builder;
  builder.AddColumn("a", FieldKind::kText);
  builder.AppendCell("first");
  const DataPacket first = builder.Build();
  builder.AddColumn("b", FieldKind::kText);
  builder.AppendCell("second");
  const DataPacket second = builder.Build();

  ASSERT_EQ(first.columns().size(), 1u);
  ASSERT_EQ(first.row_count(), 1u);
  EXPECT_EQ(std::get<std::string>(first.cell(0, 0)), "first");
  EXPECT_EQ(second.columns().front().name, "b");
}

TEST(DataPacketContentTest, InconsistentContentIsRefused) {
  const std::vector<PacketColumn> columns = {{"a", FieldKind::kText}, {"b", FieldKind::kFloat}};
  const std::vector<std::vector<FieldValue>> bad_cells = {
      {"x"},         // half a row
      {"x", "1.5"},  // text in the number column
      {1.0, 1.5},    // number in the text column
  };
  for (const auto& cells : bad_cells) {
    auto content = std::make_shared<PacketContent>(PacketContent{columns, cells});
    EXPECT_THROW(DataPacket{content}, PacketFormatError);
  }
  auto rows_without_columns = std::make_shared<PacketContent>(PacketContent{{}, {FieldValue()}});
  EXPECT_THROW(DataPacket{rows_without_columns}, PacketFormatError);
  EXPECT_EQ(DataPacket(nullptr).row_count(), 0u);
}

TEST(DataPacketColumnTest, FindsTheFirstColumnSoNamedInAnyAsciiCase) {
  DataPacketBuilder builder;
  for (const char* name : {"f_jtxmbm", "F_CXBM", "f_cxbm", "丄"}) {
    builder.AddColumn(name, FieldKind::kText);
  }
  const DataPacket packet = builder.Build();
  struct Lookup {
    const char* name;
    std::optional<size_t> column;
  };
  const Lookup kLookups[] = {
      {"F_JtXmBm", 0},
      {"f_cxbm", 1},  // the first of two columns so named
      {"丄", 3},
      {"乤", std::nullopt},  // differs from 丄 only in a trail byte, 'a' against 'A'
      {"f_jtxmb", std::nullopt},
      {"", std::nullopt},
  };
  for (const Lookup& lookup : kLookups) {
    EXPECT_EQ(packet.FindColumn(lookup.name), lookup.column) << lookup.name;
  }
}

}  // namespace
}  // namespace tarnvex
