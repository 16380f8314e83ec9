#pragma once

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/data_packet.h"

namespace tarnvex {

// What of one record table differs from what was last loaded or saved. The
// editor never orders or deletes records between loads, so a record keeps its
// place in storage order: a baseline record and its current self share a row
// number, and records added since lie past the baseline's last row. Only the
// rows the editor wrote to are compared, so finding out costs the size of the
// edit, not of the table.
class ChangeTracker {
 public:
  // A record as this editor last read it from the database.
  struct LoadedRecord {
    DataPacket packet;
    size_t row = 0;
  };

  // The table as loaded or saved; forgets every row written to and every
  // record set by SetLoaded.
  void SetBaseline(DataPacket baseline);
  // The editor wrote to the record at row (its place in storage order).
  void Touch(size_t row);

  // The rows of current that differ from the baseline in any field, and every
  // row added since, ascending. A row written back to its loaded values is no
  // change.
  std::vector<size_t> ChangedRows(const DataPacket& current) const;
  bool HasChanges(const DataPacket& current) const;

  // What the database held for the record at row when the edits to it were
  // made: a save of it overwrites no one's work while the database still holds
  // just that. None for a record this editor adds. By default the baseline's
  // row, or none past its last row.
  std::optional<LoadedRecord> Loaded(size_t row) const;
  // Edits restored from an earlier session were made over the record as it
  // was then, not over the one loaded now.
  void SetLoaded(size_t row, std::optional<LoadedRecord> record);

 private:
  bool RowChanged(const DataPacket& current, size_t row) const;

  DataPacket baseline_;
  std::unordered_set<size_t> touched_;
  std::unordered_map<size_t, std::optional<LoadedRecord>> loaded_elsewhere_;
};

}  // namespace tarnvex
