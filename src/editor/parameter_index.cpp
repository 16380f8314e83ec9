#include "editor/parameter_index.h"

#include <optional>
#include <stdexcept>

#include "editor/data_model.h"
#include "text/number_text.h"

namespace tarnvex {

std::string FieldText(const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<double>(&value)) return ShortestNumberText(*number);
  return {};
}

size_t ColumnIndex(const DataPacket& packet, std::string_view name) {
  if (std::optional<size_t> column = packet.FindColumn(name)) return *column;
  throw std::invalid_argument("数据包没有字段 " + std::string(name));
}

void ParameterIndex::Reset() {
  rows_by_code_.clear();
  indexed_rows_ = 0;
}

void ParameterIndex::Extend(const DataPacket& packet, size_t code_column) {
  for (size_t row = indexed_rows_; row < packet.row_count(); ++row) {
    rows_by_code_[FieldText(packet.cell(row, code_column))].push_back(row);
  }
  indexed_rows_ = packet.row_count();
}

bool ParameterIndex::Matches(const DataPacket& packet, size_t code_column,
                             const std::vector<size_t>& rows, const std::string& code) const {
  for (size_t row : rows) {
    if (row >= packet.row_count() || FieldText(packet.cell(row, code_column)) != code) {
      return false;
    }
  }
  return true;
}

std::vector<size_t> ParameterIndex::RowsOf(const DataPacket& packet, const std::string& code) {
  if (packet.row_count() == 0) {
    Reset();
    return {};
  }
  const size_t code_column = ColumnIndex(packet, kFieldItemCode);
  if (packet.row_count() < indexed_rows_) Reset();
  Extend(packet, code_column);
  auto found = rows_by_code_.find(code);
  if (found == rows_by_code_.end()) return {};
  if (!Matches(packet, code_column, found->second, code)) {
    Reset();
    Extend(packet, code_column);
    found = rows_by_code_.find(code);
    if (found == rows_by_code_.end()) return {};
  }
  return found->second;
}

}  // namespace tarnvex
