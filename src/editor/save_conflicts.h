#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/change_tracker.h"
#include "host/data_packet.h"

namespace tarnvex {

// What another operator did to a record that a save is about to write, since
// this editor read it.
enum class ConflictKind { kChanged, kDeleted, kAdded };

struct SaveConflict {
  ConflictKind kind = ConflictKind::kChanged;
  std::string item_code;
  std::string item_name;
  std::string type_code;  // a parameter row's vehicle type; empty for an item
};

// The most codes one read-back query names.
inline constexpr size_t kReadBackCodesPerQuery = 200;

// The queries that read back the records of table whose item code is one of
// codes, in their order: "select * from <table> where f_jtxmbm in ('01','02')",
// at most kReadBackCodesPerQuery codes each, quotes inside a code doubled.
// None for no codes.
std::vector<std::string> ReadBackQueries(std::string_view table,
                                         const std::vector<std::string>& codes);

// What happened to a record between loaded (none: this editor adds it) and
// stored (nullptr: the database has no such record), or nothing when the
// database still holds what was loaded: every column the database gives
// equal, texts byte for byte, numbers as the database gives them, NULL apart
// from an empty text.
std::optional<ConflictKind> CompareWithStored(
    const std::optional<ChangeTracker::LoadedRecord>& loaded, const DataPacket* stored,
    size_t stored_row);

// The question before a save that would overwrite other operators' work: the
// first ten conflicts by item code and name (and vehicle type), then how many
// more there are.
std::string ConflictQuestion(const std::vector<SaveConflict>& conflicts);

}  // namespace tarnvex
