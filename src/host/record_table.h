#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/data_packet.h"
#include "host/field_value.h"

namespace tarnvex {

// A misuse of a record table or a value that does not fit a field: an unknown
// field, a closed table, a record not in edit state, a text that is not a number
// given to a number field. The message names the field and the value.
class RecordTableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An in-memory table of named fields that query results load into. Field names
// match as PacketContent::FindColumn matches them: ASCII letters in either case.
// Content is shared with the packets it loads and hands out, and copied only
// when a record is changed.
//
// Until its first LoadPacket a table is closed: it has its declared fields and
// no records, walking it finds nothing (Eof is true) and TakePacket gives an
// empty packet; Insert, Edit, EmptyTable, SetOrder, Locate and reading a value
// raise RecordTableError.
class RecordTable {
 public:
  RecordTable();
  ~RecordTable();
  RecordTable(const RecordTable&) = delete;
  RecordTable& operator=(const RecordTable&) = delete;

  // Declares a field before loading; declared fields bind to the packet's
  // columns by name at the next load, and a packet without one of them, or
  // with a column of another kind, does not load. Declaring a name twice raises.
  void DeclareField(std::string name, FieldKind kind);

  // Takes the packet's columns and rows; the table is open and its first record
  // (in walking order) is current. A pending edit is dropped with the old
  // content. On error the table keeps what it held.
  void LoadPacket(const DataPacket& packet);
  // Every record (posting a pending edit first), every column, in storage order.
  // The packet shares the content; later changes to the table do not reach it.
  DataPacket TakePacket();
  bool IsLoaded() const;
  // Removes every record, a pending one included; the table stays open.
  void EmptyTable();
  // "f_a;f_b": walking visits records ascending by f_a, ties by f_b, ties then in
  // storage order. NULL comes before any value, texts compare byte by byte.
  // An empty list restores storage order. The current record stays current, and
  // the order stays in force across loads. An unknown field raises, naming it.
  void SetOrder(std::string_view field_list);

  size_t RecordCount() const;
  void First();
  void Next();
  // True after Next from the last record, and at once after First on an empty table.
  bool Eof() const;

  bool HasField(std::string_view name) const;
  // The current record's value; the editable record shows its pending values,
  // and a table without records gives NULL.
  FieldValue Value(std::string_view name) const;
  // The value as text: NULL gives "", a number its shortest decimal form.
  std::string Text(std::string_view name) const;

  // True when a record has every listed field equal to its value; the first such
  // record in walking order becomes current. Texts compare in full, byte for
  // byte; a number field compares with the value read as a number; NULL equals
  // nothing, and a value that is not a number finds nothing in a number field.
  // When nothing is found the current record stays. Uses a hash index per field
  // list, kept up to date as records are posted. A pending edit is posted first.
  bool Locate(std::string_view field_list, const std::vector<std::string>& values);

  // The current record's place in storage order: its row in TakePacket's
  // packet. A closed table or one without records raises.
  size_t RecordIndex() const;

  // Adds a new empty record at the end of storage order; it becomes current and
  // editable. A table without fields raises.
  void Insert();
  // Makes the current record editable; without records it raises.
  void Edit();
  // Sets a field of the editable record. A text given to a number field is read
  // with a point as the decimal separator; a number given to a text field is
  // stored as its shortest decimal text. A text that is not a number, or a
  // number that is infinite or NaN, raises and leaves the field as it was.
  void SetText(std::string_view name, std::string_view text);
  void SetNumber(std::string_view name, double value);
  void SetNull(std::string_view name);
  // Stores the editable record; it stays current and, under an order, moves to
  // its sorted place. Without an editable record it does nothing. Moving to
  // another record posts a pending edit first.
  void Post();

  // The table's fields, in column order; the declared ones while it is closed.
  std::vector<PacketColumn> Fields() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarnvex
