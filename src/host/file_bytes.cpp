#include "host/file_bytes.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <random>
#include <system_error>

namespace tarnvex {

namespace fs = std::filesystem;

namespace {

std::string UniqueSuffix() {
  std::random_device device;
  const std::uint64_t bits = (std::uint64_t{device()} << 32) | device();
  char hex[16];
  const auto end = std::to_chars(hex, hex + sizeof hex, bits, 16).ptr;
  return ".~" + std::string(hex, end) + ".tmp";
}

// A file beside the target that is removed again unless it has replaced it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) : path_(target) { path_ += UniqueSuffix(); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!moved_) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }

  const fs::path& path() const { return path_; }
  void MarkMoved() { moved_ = true; }

 private:
  fs::path path_;
  bool moved_ = false;
};

}  // namespace

std::optional<std::string> ReadFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::string ReplaceFileBytes(const fs::path& file, std::string_view bytes,
                             std::optional<fs::perms> permissions) {
  TemporaryFile temporary(file);
  {
    std::ofstream out(temporary.path(), std::ios::binary | std::ios::trunc);
    if (!out) return "无法在其文件夹中创建临时文件(文件夹不存在或不可写)";
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return "无法写入临时文件";
  }
  std::error_code error;
  if (permissions) {
    fs::permissions(temporary.path(), *permissions, error);
    if (error) return "无法设置临时文件的权限: " + error.message();
  }
  fs::rename(temporary.path(), file, error);
  if (error) return "无法替换原文件: " + error.message();
  temporary.MarkMoved();
  return "";
}

}  // namespace tarnvex
