#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/cell_store.h"
#include "host/field_value.h"
#include "host/variant.h"

namespace tarnvex {

// A malformed packet: wrong magic or version, a count that runs past the end,
// a cell that does not fit its column.
class PacketFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PacketColumn {
  std::string name;  // code page 936
  FieldKind kind = FieldKind::kText;
  bool operator==(const PacketColumn&) const = default;
};

// The rows and columns of a packet. Immutable once shared: packets and record
// tables hold it through shared_ptr<const> and copy it only to change it.
struct PacketContent {
  std::vector<PacketColumn> columns;
  CellStore cells;  // row-major, columns.size() cells per row

  size_t row_count() const { return columns.empty() ? 0 : cells.size() / columns.size(); }
  // The first column with this name, ASCII letters in either case (never a
  // trail byte: see text/cp936.h). Every lookup by name comes here, so record
  // tables and the editor always agree on which column a name means.
  std::optional<size_t> FindColumn(std::string_view name) const;
  bool operator==(const PacketContent&) const = default;
};

// What a query returns: an immutable snapshot of columns and rows. Copies share
// the content. Across the host boundary it travels as a byte array in the format
// described in docs/data-packet.md.
class DataPacket {
 public:
  DataPacket();  // no columns, no rows
  // Raises PacketFormatError when the cells do not make whole rows or a cell
  // does not fit its column's kind; a null pointer gives an empty packet.
  explicit DataPacket(std::shared_ptr<const PacketContent> content);

  const std::vector<PacketColumn>& columns() const { return content_->columns; }
  size_t row_count() const { return content_->row_count(); }
  FieldValue cell(size_t row, size_t column) const {
    return content_->cells.Get(row * content_->columns.size() + column);
  }
  const std::shared_ptr<const PacketContent>& content() const { return content_; }
  std::optional<size_t> FindColumn(std::string_view name) const {
    return content_->FindColumn(name);
  }

  std::vector<uint8_t> Serialize() const;
  // Reads a serialized packet; never reads outside the given bytes.
  static DataPacket Parse(std::span<const uint8_t> bytes);

  // The packet as the byte array variant the host passes, and back. FromVariant
  // raises PacketFormatError when the value is not a byte array.
  Variant ToVariant() const;
  static DataPacket FromVariant(const Variant& value);

 private:
  // The builder and record tables hand out content they keep consistent
  // themselves; checking it again cell by cell would make every TakePacket cost
  // a pass over the rows.
  friend class DataPacketBuilder;
  friend class RecordTable;
  struct Checked {};
  DataPacket(Checked, std::shared_ptr<const PacketContent> content);

  std::shared_ptr<const PacketContent> content_;
};

// Builds a packet row by row, as a host's query layer produces one.
class DataPacketBuilder {
 public:
  // Columns come first: adding one after a cell raises PacketFormatError.
  void AddColumn(std::string name, FieldKind kind);
  // Appends the next cell of the current row; the row ends after the last
  // column. A text in a number column, a number in a text column or a cell
  // without columns raises PacketFormatError.
  void AppendCell(FieldValue value);
  // Raises PacketFormatError when the last row is incomplete. The builder starts
  // over empty, so the packet it returns never changes afterwards.
  DataPacket Build();

 private:
  std::shared_ptr<PacketContent> content_ = std::make_shared<PacketContent>();
};

}  // namespace tarnvex
