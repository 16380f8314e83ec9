#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/data_packet.h"

namespace tarnvex {

// Where each item's parameter rows lie in cdsType's content, so that showing
// one item's rows does not walk (or sort) every parameter row of every item.
//
// Rows are found by their position in storage order, which is the row order of
// TakePacket. The editor only ever appends to cdsType or reloads it, never
// removes a single record, and never changes a record's item code, so positions
// stay valid: new rows are indexed as they appear, and a reload calls Reset.
// Every position handed out is checked against the packet; a mismatch rebuilds
// the index, so a missed Reset costs time but never gives a wrong row.
class ParameterIndex {
 public:
  // Forgets everything; the next lookup indexes the packet afresh.
  void Reset();

  // Positions of the packet's rows whose item code, as text, equals code, in
  // storage order. A packet with rows must hold the item code column.
  std::vector<size_t> RowsOf(const DataPacket& packet, const std::string& code);

 private:
  void Extend(const DataPacket& packet, size_t code_column);
  bool Matches(const DataPacket& packet, size_t code_column, const std::vector<size_t>& rows,
               const std::string& code) const;

  std::unordered_map<std::string, std::vector<size_t>> rows_by_code_;
  size_t indexed_rows_ = 0;
};

// A field value as text, as a record table reads it: NULL gives "", a number its
// shortest decimal form.
std::string FieldText(const FieldValue& value);

// packet.FindColumn(name) for a column the editor cannot do without: raises
// std::invalid_argument when the packet has no such column.
size_t ColumnIndex(const DataPacket& packet, std::string_view name);

}  // namespace tarnvex
