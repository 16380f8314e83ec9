#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/data_packet.h"
#include "host/record_table.h"
#include "host/variant.h"
#include "editor/grid_columns.h"

namespace tarnvex {

// The save batch cannot be built: a table without one of the fields the
// statements write, a field of the wrong kind, or a parameter that is not a
// finite number. The text names the table or the record and the field. Nothing
// has been sent when it is raised.
class SaveBatchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The statement that saves one allowance item (a row shaped like cdsArc):
// insert it when no item has its code, else update it by code. Text fields go
// in as SQL literals with their quotes doubled, a field without a value as NULL.
// use_ansi selects the "begin ATOMIC ... End" form for databases other than SQL
// Server. The fields are found by name, in any letter case, once per packet.
class ItemStatementWriter {
 public:
  explicit ItemStatementWriter(const DataPacket& items);
  void Append(size_t row, bool use_ansi, std::string& out) const;

 private:
  const DataPacket& items_;
  std::array<size_t, kItemFields.size()> columns_;
};

// The statement that saves the parameters of one item for one vehicle type (a
// row shaped like cdsType): insert or update by item code and vehicle-type
// code. The numbers are written in the "0.00" pattern with a point, unquoted.
// Append works in a buffer of the writer's own: a writer serves one thread.
class ParameterStatementWriter {
 public:
  explicit ParameterStatementWriter(const DataPacket& parameters);
  void Append(size_t row, bool use_ansi, std::string& out);

 private:
  const DataPacket& parameters_;
  std::array<size_t, kParameterRecordFieldCount> columns_;  // item code, vehicle-type code, numbers
  std::string values_;  // the current row's literals and numbers
};

// One statement per item, then one per parameter row, each in the packets' row
// order and passed through AdaptSql(statement, use_ansi).
std::vector<std::string> BuildSaveBatch(const DataPacket& items, const DataPacket& parameters,
                                        bool use_ansi);

// The save batch of the editor's tables, packed for ExecuteStatement (an array
// from index 0, or an empty value when both tables are empty). The editor
// never puts cdsArc or cdsType under an order, so the storage order their
// packets come in is the order the tables walk in.
Variant PackSaveBatch(RecordTable& cdsArc, RecordTable& cdsType, bool use_ansi);

// The rows of each packet that a save writes, ascending.
struct SaveRows {
  std::vector<size_t> items;
  std::vector<size_t> parameters;
};

// The save batch of the listed rows only: the same statements, in the same
// order and dialect, as the whole batch has for them; an empty value when no
// row is listed.
Variant PackSaveBatch(const DataPacket& items, const DataPacket& parameters, const SaveRows& rows,
                      bool use_ansi);

}  // namespace tarnvex
