#include "host/data_packet.h"

#include <bit>
#include <limits>
#include <string_view>
#include <utility>

#include "text/cp936.h"

namespace tarnvex {

namespace {

constexpr std::string_view kMagic = "TVDP";
constexpr uint16_t kVersion = 1;

// Cell tags on the wire. NULL fits any column; the others must match its kind.
constexpr uint8_t kTagNull = 0;
constexpr uint8_t kTagText = 1;
constexpr uint8_t kTagFloat = 2;

// The fewest bytes a column declaration and a cell take: kind and name length,
// and a lone tag. Counts are checked against them before anything is reserved,
// so a forged count in a short packet cannot make us allocate.
constexpr uint64_t kMinColumnBytes = 1 + 4;
constexpr uint64_t kMinCellBytes = 1;

[[noreturn]] void Malformed(const std::string& what) {
  throw PacketFormatError("数据包格式错误：" + what);
}

std::string At(size_t offset) { return "偏移 " + std::to_string(offset) + " 处"; }

bool Fits(CellStore::Kind cell, FieldKind kind) {
  if (cell == CellStore::Kind::kNull) return true;
  return kind == FieldKind::kText ? cell == CellStore::Kind::kText
                                  : cell == CellStore::Kind::kNumber;
}

CellStore::Kind KindOf(const FieldValue& value) {
  return static_cast<CellStore::Kind>(value.index());
}

// Reads little-endian fields from a byte span, refusing to step past its end.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t offset() const { return offset_; }
  size_t remaining() const { return bytes_.size() - offset_; }

  uint8_t U8(std::string_view what) { return static_cast<uint8_t>(Unsigned(1, what)); }
  uint16_t U16(std::string_view what) { return static_cast<uint16_t>(Unsigned(2, what)); }
  uint32_t U32(std::string_view what) { return static_cast<uint32_t>(Unsigned(4, what)); }
  double F64(std::string_view what) { return std::bit_cast<double>(Unsigned(8, what)); }

  std::string_view Bytes(size_t count, std::string_view what) {
    Require(count, what);
    std::string_view text(reinterpret_cast<const char*>(bytes_.data() + offset_), count);
    offset_ += count;
    return text;
  }

 private:
  void Require(size_t count, std::string_view what) const {
    if (count > remaining()) {
      Malformed(At(offset_) + "的" + std::string(what) + "不完整：需要 " + std::to_string(count) +
                " 字节，只剩 " + std::to_string(remaining()) + " 字节");
    }
  }

  uint64_t Unsigned(size_t size, std::string_view what) {
    Require(size, what);
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) value |= uint64_t{bytes_[offset_ + i]} << (8 * i);
    offset_ += size;
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
};

class Writer {
 public:
  void Unsigned(uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  void Length(size_t length, std::string_view what) {
    if (length > std::numeric_limits<uint32_t>::max()) {
      throw PacketFormatError("数据包格式错误：" + std::string(what) + "超过 4GB，无法写入数据包");
    }
    Unsigned(length, 4);
  }
  void Text(std::string_view text, std::string_view what) {
    Length(text.size(), what);
    bytes_.insert(bytes_.end(), text.begin(), text.end());
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

void CheckContent(const PacketContent& content) {
  const size_t column_count = content.columns.size();
  if (column_count == 0 ? !content.cells.empty() : content.cells.size() % column_count != 0) {
    Malformed("单元格数 " + std::to_string(content.cells.size()) + " 不能按 " +
              std::to_string(column_count) + " 列分成整行");
  }
  for (size_t i = 0; i < content.cells.size(); ++i) {
    const PacketColumn& column = content.columns[i % column_count];
    if (!Fits(content.cells.kind(i), column.kind)) {
      Malformed("第 " + std::to_string(i / column_count + 1) + " 行字段 " + column.name +
                " 的值与字段类型不符");
    }
  }
}

}  // namespace

std::optional<size_t> PacketContent::FindColumn(std::string_view name) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (EqualsIgnoringAsciiCase(columns[i].name, name)) return i;
  }
  return std::nullopt;
}

DataPacket::DataPacket() : content_(std::make_shared<const PacketContent>()) {}

DataPacket::DataPacket(std::shared_ptr<const PacketContent> content)
    : content_(content ? std::move(content) : std::make_shared<const PacketContent>()) {
  CheckContent(*content_);
}

DataPacket::DataPacket(Checked, std::shared_ptr<const PacketContent> content)
    : content_(std::move(content)) {}

std::vector<uint8_t> DataPacket::Serialize() const {
  Writer writer;
  for (char c : kMagic) writer.Unsigned(static_cast<uint8_t>(c), 1);
  writer.Unsigned(kVersion, 2);
  writer.Unsigned(0, 2);  // flags
  writer.Length(columns().size(), "列数");
  for (const PacketColumn& column : columns()) {
    writer.Unsigned(static_cast<uint8_t>(column.kind), 1);
    writer.Text(column.name, "列名");
  }
  writer.Length(row_count(), "行数");
  const CellStore& cells = content_->cells;
  for (size_t at = 0; at < cells.size(); ++at) {
    switch (cells.kind(at)) {
      case CellStore::Kind::kText:
        writer.Unsigned(kTagText, 1);
        writer.Text(cells.text(at), "文本");
        break;
      case CellStore::Kind::kNumber:
        writer.Unsigned(kTagFloat, 1);
        writer.Unsigned(std::bit_cast<uint64_t>(cells.number(at)), 8);
        break;
      case CellStore::Kind::kNull:
        writer.Unsigned(kTagNull, 1);
        break;
    }
  }
  return writer.Take();
}

DataPacket DataPacket::Parse(std::span<const uint8_t> bytes) {
  Reader reader(bytes);
  if (reader.Bytes(kMagic.size(), "标识") != kMagic) Malformed(At(0) + "的标识不是“TVDP”");
  const size_t version_offset = reader.offset();
  const uint16_t version = reader.U16("版本号");
  if (version != kVersion) {
    Malformed(At(version_offset) + "的版本号 " + std::to_string(version) + " 不受支持");
  }
  const size_t flags_offset = reader.offset();
  const uint16_t flags = reader.U16("标志");
  if (flags != 0) {
    Malformed(At(flags_offset) + "的标志 " + std::to_string(flags) + " 不受支持");
  }

  auto content = std::make_shared<PacketContent>();
  const size_t column_count_offset = reader.offset();
  const uint32_t column_count = reader.U32("列数");
  if (column_count * kMinColumnBytes > reader.remaining()) {
    Malformed(At(column_count_offset) + "的列数 " + std::to_string(column_count) + " 超出剩余的 " +
              std::to_string(reader.remaining()) + " 字节");
  }
  content->columns.reserve(column_count);
  for (uint32_t i = 0; i < column_count; ++i) {
    const size_t kind_offset = reader.offset();
    const uint8_t kind = reader.U8("列类型");
    if (kind != static_cast<uint8_t>(FieldKind::kText) &&
        kind != static_cast<uint8_t>(FieldKind::kFloat)) {
      Malformed(At(kind_offset) + "的列类型 " + std::to_string(kind) + " 无效");
    }
    const uint32_t name_length = reader.U32("列名长度");
    content->columns.push_back({.name = std::string(reader.Bytes(name_length, "列名")),
                                .kind = static_cast<FieldKind>(kind)});
  }

  const size_t row_count_offset = reader.offset();
  const uint32_t row_count = reader.U32("行数");
  if (column_count == 0 && row_count != 0) {
    Malformed(At(row_count_offset) + "的行数为 " + std::to_string(row_count) + "，但数据包没有列");
  }
  const uint64_t cell_count = uint64_t{row_count} * column_count;
  if (cell_count * kMinCellBytes > reader.remaining()) {
    Malformed(At(row_count_offset) + "的行数 " + std::to_string(row_count) + " 超出剩余的 " +
              std::to_string(reader.remaining()) + " 字节");
  }
  content->cells.reserve(static_cast<size_t>(cell_count));
  for (uint64_t i = 0; i < cell_count; ++i) {
    const PacketColumn& column = content->columns[static_cast<size_t>(i % column_count)];
    const size_t tag_offset = reader.offset();
    const uint8_t tag = reader.U8("单元格标记");
    if (tag > kTagFloat) {
      Malformed(At(tag_offset) + "的单元格标记 " + std::to_string(tag) + " 无效");
    }
    if (tag != kTagNull && tag != static_cast<uint8_t>(column.kind)) {
      Malformed(At(tag_offset) + "的单元格标记 " + std::to_string(tag) + " 与字段 " + column.name +
                " 的类型不符");
    }
    if (tag == kTagText) {
      const uint32_t length = reader.U32("文本长度");
      content->cells.AppendText(reader.Bytes(length, "文本"));
    } else if (tag == kTagFloat) {
      content->cells.AppendNumber(reader.F64("数字"));
    } else {
      content->cells.AppendNull();
    }
  }
  if (reader.remaining() != 0) {
    Malformed(At(reader.offset()) + "在最后一行之后还有 " + std::to_string(reader.remaining()) +
              " 字节");
  }
  return DataPacket(Checked{}, std::move(content));
}

Variant DataPacket::ToVariant() const { return Variant(Serialize()); }

DataPacket DataPacket::FromVariant(const Variant& value) {
  if (value.kind() != Variant::Kind::kBytes) Malformed("查询结果不是字节数组");
  return Parse(value.as_bytes());
}

void DataPacketBuilder::AddColumn(std::string name, FieldKind kind) {
  if (!content_->cells.empty()) Malformed("已有单元格之后不能再加字段 " + name);
  content_->columns.push_back({.name = std::move(name), .kind = kind});
}

void DataPacketBuilder::AppendCell(FieldValue value) {
  const size_t column_count = content_->columns.size();
  if (column_count == 0) Malformed("数据包没有字段，不能添加单元格");
  const PacketColumn& column = content_->columns[content_->cells.size() % column_count];
  if (!Fits(KindOf(value), column.kind)) Malformed("字段 " + column.name + " 的值与字段类型不符");
  content_->cells.Append(value);
}

DataPacket DataPacketBuilder::Build() {
  const size_t column_count = content_->columns.size();
  if (column_count != 0 && content_->cells.size() % column_count != 0) {
    Malformed("最后一行只有 " + std::to_string(content_->cells.size() % column_count) +
              " 个单元格，应有 " + std::to_string(column_count) + " 个");
  }
  auto built = std::make_shared<PacketContent>();
  built.swap(content_);
  return DataPacket(DataPacket::Checked{}, std::move(built));
}

}  // namespace tarnvex
