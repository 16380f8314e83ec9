#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/change_tracker.h"
#include "host/data_packet.h"

namespace tarnvex {

// A draft that cannot be read: not a draft, another version, cut short or
// damaged. The text says which.
class DraftFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The edited records of one record table: each as it is now and as it was
// read, row for row. The rows of `read` begin with the text column
// kDraftReadColumn, "1" for a record read from the database and "0" for one
// the editor adds (its other cells then NULL); its other columns are those of
// `now`.
struct DraftTable {
  DataPacket now;
  DataPacket read;
};

inline constexpr char kDraftReadColumn[] = "#read";

// The unsaved work of one operator, kept on disk while they edit so that a
// host that closes or dies does not take it along (format in
// docs/draft-file.md).
struct Draft {
  std::string operator_code;  // code page 936
  // The editor that keeps the draft: its process and its session, so that
  // another editor of the operator tells a draft still being kept from one
  // left behind.
  uint32_t process_id = 0;
  std::string session;
  DraftTable items;
  DraftTable parameters;
};

// The rows of current that differ from what was read, with what was read of
// each: the draft's part of one table.
DraftTable CollectDraftTable(const DataPacket& current, const ChangeTracker& changes);

std::string SerializeDraft(const Draft& draft);
// Raises DraftFormatError; never reads outside the bytes.
Draft ParseDraft(std::string_view bytes);

// The draft file of one editor of an operator beside the settings file:
// "Tarnvexdraft-<code>-<session>.dat", every byte of the code outside A-Z,
// a-z, 0-9 and '_' written as '%' and two hex digits.
std::filesystem::path DraftFilePath(const std::filesystem::path& settings_file,
                                    std::string_view operator_code, std::string_view session);
// Every draft file of the operator beside the settings file, by name.
std::vector<std::filesystem::path> DraftFilesOf(const std::filesystem::path& settings_file,
                                                std::string_view operator_code);
// A session name no other editor has: 16 hex digits.
std::string NewDraftSession();

}  // namespace tarnvex
