#include "editor/change_tracker.h"

#include <algorithm>
#include <utility>

namespace tarnvex {

void ChangeTracker::SetBaseline(DataPacket baseline) {
  baseline_ = std::move(baseline);
  touched_.clear();
  loaded_elsewhere_.clear();
}

void ChangeTracker::Touch(size_t row) { touched_.insert(row); }

bool ChangeTracker::RowChanged(const DataPacket& current, size_t row) const {
  if (row >= baseline_.row_count()) return true;
  if (current.columns() != baseline_.columns()) return true;
  for (size_t column = 0; column < current.columns().size(); ++column) {
    if (current.cell(row, column) != baseline_.cell(row, column)) return true;
  }
  return false;
}

std::vector<size_t> ChangeTracker::ChangedRows(const DataPacket& current) const {
  std::vector<size_t> rows;
  for (size_t row : touched_) {
    if (row < current.row_count() && RowChanged(current, row)) rows.push_back(row);
  }
  for (size_t row = baseline_.row_count(); row < current.row_count(); ++row) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

bool ChangeTracker::HasChanges(const DataPacket& current) const {
  if (current.row_count() > baseline_.row_count()) return true;
  return std::any_of(touched_.begin(), touched_.end(), [&](size_t row) {
    return row < current.row_count() && RowChanged(current, row);
  });
}

std::optional<ChangeTracker::LoadedRecord> ChangeTracker::Loaded(size_t row) const {
  if (const auto found = loaded_elsewhere_.find(row); found != loaded_elsewhere_.end()) {
    return found->second;
  }
  if (row >= baseline_.row_count()) return std::nullopt;
  return LoadedRecord{baseline_, row};
}

void ChangeTracker::SetLoaded(size_t row, std::optional<LoadedRecord> record) {
  loaded_elsewhere_[row] = std::move(record);
}

}  // namespace tarnvex
