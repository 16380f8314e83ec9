// Reads a settings file made of the input. The input's first line names the
// section, its second the key, the rest is the file. The reader must not fail,
// and what it returns is either the default or a stretch of one line of the
// file without surrounding blanks.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "host/profile_file.h"

namespace {

// One file per fuzzing process, removed when it ends.
class ScratchFile {
 public:
  ScratchFile()
      : path_(std::filesystem::temp_directory_path() /
              ("tarnvex_profile_fuzz_" + std::to_string(::getpid()) + ".ini")) {}
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::filesystem::path& Write(std::string_view content) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out.flush()) std::abort();
    return path_;
  }

 private:
  std::filesystem::path path_;
};

// The next line of text, consumed; the whole rest when there is no line end.
std::string_view TakeLine(std::string_view& text) {
  const size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFile scratch;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view section = TakeLine(input);
  const std::string_view key = TakeLine(input);
  const std::filesystem::path& file = scratch.Write(input);

  // A default no value in the file can equal: it holds a line break.
  const std::string_view kDefault = "\n<default>\n";
  const std::string value = tarnvex::ReadProfileString(file, section, key, kDefault);
  if (value == kDefault) return 0;
  if (value.find('\n') != std::string::npos) std::abort();
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) std::abort();
  if (input.find(value) == std::string_view::npos) std::abort();
  return 0;
}
