// The draft file: what an operator has edited and not saved, written beside
// the settings file.

#include "editor/draft_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <span>
#include <utility>

namespace tarnvex {

namespace {

constexpr char kMagic[8] = {'T', 'V', 'X', 'D', 'R', 'A', 'F', 'T'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = sizeof kMagic + 4 + 4 + 8;

// FNV-1a, 64 bits: enough to tell a damaged file from a whole one.
uint64_t Checksum(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

void PutU32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutU64(std::string& out, uint64_t value) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutBlock(std::string& out, std::string_view bytes) {
  PutU32(out, static_cast<uint32_t>(bytes.size()));
  out += bytes;
}

void PutPacket(std::string& out, const DataPacket& packet) {
  const std::vector<uint8_t> bytes = packet.Serialize();
  PutBlock(out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Reads the parts of a draft in order, never past its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  uint64_t Number(size_t width) {
    const std::string_view raw = Take(width);
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
      value |= uint64_t{static_cast<unsigned char>(raw[i])} << (8 * i);
    }
    return value;
  }
  std::string_view Block() { return Take(static_cast<size_t>(Number(4))); }
  DataPacket Packet() {
    const std::string_view block = Block();
    try {
      return DataPacket::Parse(
          std::span(reinterpret_cast<const uint8_t*>(block.data()), block.size()));
    } catch (const PacketFormatError& error) {
      throw DraftFormatError(std::string("记录损坏: ") + error.what());
    }
  }
  bool AtEnd() const { return bytes_.empty(); }

 private:
  std::string_view Take(size_t count) {
    if (count > bytes_.size()) throw DraftFormatError("文件不完整");
    const std::string_view taken = bytes_.substr(0, count);
    bytes_.remove_prefix(count);
    return taken;
  }
  std::string_view bytes_;
};

void CheckTable(const DraftTable& table, bool parameter_rows) {
  if (table.now.row_count() != table.read.row_count()) throw DraftFormatError("记录数不符");
  if (table.now.row_count() == 0) return;
  const std::optional<size_t> read_flag = table.read.FindColumn(kDraftReadColumn);
  if (read_flag != 0u || table.read.columns()[0].kind != FieldKind::kText) {
    throw DraftFormatError("缺少读取标记");
  }
  for (const char* key : {"f_jtxmbm", "f_cxbm"}) {
    if (!parameter_rows && std::strcmp(key, "f_cxbm") == 0) break;
    const std::optional<size_t> column = table.now.FindColumn(key);
    if (!column || table.now.columns()[*column].kind != FieldKind::kText) {
      throw DraftFormatError(std::string("缺少字段 ") + key);
    }
  }
}

FieldValue CellByName(const DataPacket& packet, size_t row, std::string_view name) {
  const std::optional<size_t> column = packet.FindColumn(name);
  return column ? packet.cell(row, *column) : FieldValue();
}

}  // namespace

DraftTable CollectDraftTable(const DataPacket& current, const ChangeTracker& changes) {
  DataPacketBuilder now;
  DataPacketBuilder read;
  read.AddColumn(kDraftReadColumn, FieldKind::kText);
  for (const PacketColumn& column : current.columns()) {
    now.AddColumn(column.name, column.kind);
    read.AddColumn(column.name, column.kind);
  }
  for (size_t row : changes.ChangedRows(current)) {
    const std::optional<ChangeTracker::LoadedRecord> loaded = changes.Loaded(row);
    read.AppendCell(std::string(loaded ? "1" : "0"));
    for (size_t column = 0; column < current.columns().size(); ++column) {
      now.AppendCell(current.cell(row, column));
      read.AppendCell(loaded
                          ? CellByName(loaded->packet, loaded->row, current.columns()[column].name)
                          : FieldValue());
    }
  }
  return {now.Build(), read.Build()};
}

std::string SerializeDraft(const Draft& draft) {
  std::string payload;
  PutBlock(payload, draft.operator_code);
  PutU32(payload, draft.process_id);
  PutBlock(payload, draft.session);
  PutPacket(payload, draft.items.now);
  PutPacket(payload, draft.items.read);
  PutPacket(payload, draft.parameters.now);
  PutPacket(payload, draft.parameters.read);
  std::string out(kMagic, sizeof kMagic);
  PutU32(out, kVersion);
  PutU32(out, static_cast<uint32_t>(payload.size()));
  PutU64(out, Checksum(payload));
  return out + payload;
}

Draft ParseDraft(std::string_view bytes) {
  if (bytes.size() < kHeaderSize ||
      bytes.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic)) {
    throw DraftFormatError("不是草稿文件");
  }
  Reader header(bytes.substr(sizeof kMagic, kHeaderSize - sizeof kMagic));
  if (header.Number(4) != kVersion) throw DraftFormatError("草稿文件的版本不符");
  const uint64_t length = header.Number(4);
  const uint64_t checksum = header.Number(8);
  const std::string_view payload = bytes.substr(kHeaderSize);
  if (payload.size() != length) throw DraftFormatError("文件不完整");
  if (Checksum(payload) != checksum) throw DraftFormatError("校验和不符");

  Reader reader(payload);
  Draft draft;
  draft.operator_code = std::string(reader.Block());
  draft.process_id = static_cast<uint32_t>(reader.Number(4));
  draft.session = std::string(reader.Block());
  draft.items.now = reader.Packet();
  draft.items.read = reader.Packet();
  draft.parameters.now = reader.Packet();
  draft.parameters.read = reader.Packet();
  if (!reader.AtEnd()) throw DraftFormatError("文件末尾有多余的数据");
  CheckTable(draft.items, false);
  CheckTable(draft.parameters, true);
  return draft;
}

namespace {

std::string DraftNamePrefix(std::string_view operator_code) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string name = "Tarnvexdraft-";
  for (unsigned char byte : operator_code) {
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '_';
    if (plain) {
      name += static_cast<char>(byte);
    } else {
      name += '%';
      name += kHex[byte >> 4];
      name += kHex[byte & 0xF];
    }
  }
  return name + "-";
}

constexpr std::string_view kDraftExtension = ".dat";

}  // namespace

std::filesystem::path DraftFilePath(const std::filesystem::path& settings_file,
                                    std::string_view operator_code, std::string_view session) {
  return settings_file.parent_path() /
         (DraftNamePrefix(operator_code) + std::string(session) + std::string(kDraftExtension));
}

std::vector<std::filesystem::path> DraftFilesOf(const std::filesystem::path& settings_file,
                                                std::string_view operator_code) {
  // Compared in the file system's own characters: other files of the folder
  // may have names no narrow text holds. The prefix is plain ASCII.
  const auto prefix = std::filesystem::path(DraftNamePrefix(operator_code)).native();
  const auto extension = std::filesystem::path(std::string(kDraftExtension)).native();
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(settings_file.parent_path(), error)) {
    const std::filesystem::path name = entry.path().filename();
    if (name.native().starts_with(prefix) && name.native().ends_with(extension)) {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string NewDraftSession() {
  std::random_device device;
  const uint64_t bits = (uint64_t{device()} << 32) | device();
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(bits));
  return hex;
}

}  // namespace tarnvex
