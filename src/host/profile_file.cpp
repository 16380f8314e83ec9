#include "host/profile_file.h"

#include <optional>
#include <system_error>

#include "host/file_bytes.h"
#include "text/cp936.h"

#ifdef _WIN32
#include "text/codepage.h"
#endif

namespace tarnvex {
namespace {

namespace fs = std::filesystem;

// Line ends of a file that has none yet: what the Windows profile functions write.
constexpr std::string_view kDefaultLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipLeadingBlanks(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  return text.substr(begin);
}

// Blanks are never trail bytes, so trimming cannot split a character.
std::string_view TrimBlanks(std::string_view text) {
  text = SkipLeadingBlanks(text);
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

bool EndsInHalfCharacter(std::string_view text) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += Cp936CharLength(text, i)) last = i;
  return !text.empty() && last == text.size() - 1 && IsCp936LeadByte(text[last]);
}

struct Line {
  std::string_view text;  // without its line break
  std::size_t begin = 0;
  std::size_t next = 0;  // where the following line begins
};

// Lines end in LF or CR LF; '\n' and '\r' are never trail bytes.
Line LineAt(std::string_view content, std::size_t begin) {
  const std::size_t feed = content.find('\n', begin);
  if (feed == std::string_view::npos) {
    return {content.substr(begin), begin, content.size()};
  }
  std::size_t end = feed;
  if (end > begin && content[end - 1] == '\r') --end;
  return {content.substr(begin, end - begin), begin, feed + 1};
}

// The line end style of an existing file, taken from its first line.
std::string_view LineEndOf(std::string_view content) {
  const std::size_t feed = content.find('\n');
  if (feed == std::string_view::npos) return kDefaultLineEnd;
  return feed > 0 && content[feed - 1] == '\r' ? "\r\n" : "\n";
}

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // blanks removed
  std::string_view value;  // blanks removed; a view into the line
};

ParsedLine ParseLine(std::string_view text) {
  const std::string_view rest = SkipLeadingBlanks(text);
  if (rest.starts_with(';')) return {};
  if (rest.starts_with('[')) {
    // The last ']' that is a character of its own closes the name, so a name
    // may hold ']' and a trail byte 0x5D never ends it.
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < rest.size(); i += Cp936CharLength(rest, i)) {
      if (rest[i] == ']') close = i;
    }
    if (close != std::string_view::npos) {
      return {LineKind::kSection, TrimBlanks(rest.substr(1, close - 1)), {}};
    }
  }
  // '=' is never a trail byte, so the first one ends the key.
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  return {LineKind::kKey, TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1))};
}

struct KeySearch {
  bool section_found = false;
  bool key_found = false;
  std::string_view value;     // the key's value, a view into the content
  std::size_t line_end = 0;   // where the key's line ends, before its line break
  std::size_t insert_at = 0;  // after the section's last key line, or after its header
};

// One pass over the lines; stops at the key or at the end of the first section
// with a matching name. The names must be trimmed already.
KeySearch FindKey(std::string_view content, std::string_view section, std::string_view key) {
  KeySearch search;
  for (std::size_t pos = 0; pos < content.size();) {
    const Line line = LineAt(content, pos);
    pos = line.next;
    const ParsedLine parsed = ParseLine(line.text);
    if (parsed.kind == LineKind::kSection) {
      if (search.section_found) break;
      if (EqualsIgnoringAsciiCase(parsed.name, section)) {
        search.section_found = true;
        search.insert_at = line.next;
      }
    } else if (parsed.kind == LineKind::kKey && search.section_found) {
      search.insert_at = line.next;
      if (EqualsIgnoringAsciiCase(parsed.name, key)) {
        search.key_found = true;
        search.value = parsed.value;
        search.line_end = line.begin + line.text.size();
        break;
      }
    }
  }
  return search;
}

// The content with the key set; only the value's bytes change, or whole lines
// are inserted. An inserted line after an unterminated last line first ends it.
std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
  const KeySearch search = FindKey(content, section, key);
  std::string result;
  result.reserve(content.size() + section.size() + key.size() + value.size() + 12);
  if (search.key_found) {
    const auto value_begin = static_cast<std::size_t>(search.value.data() - content.data());
    result.append(content.substr(0, value_begin));
    result.append(value);
    result.append(content.substr(search.line_end));
    return result;
  }
  const std::string_view line_end = LineEndOf(content);
  const std::size_t insert_at = search.section_found ? search.insert_at : content.size();
  result.append(content.substr(0, insert_at));
  if (insert_at > 0 && content[insert_at - 1] != '\n') result.append(line_end);
  if (!search.section_found) {
    result.append("[").append(section).append("]").append(line_end);
  }
  result.append(key).append("=").append(value).append(line_end);
  result.append(content.substr(insert_at));
  return result;
}

// The path for a message in the library's own texts.
std::string PathText(const fs::path& file) {
#ifdef _WIN32
  const std::wstring& wide = file.native();
  return Utf16ToCp936(std::u16string(wide.begin(), wide.end()));
#else
  return file.native();
#endif
}

[[noreturn]] void Fail(const fs::path& file, std::string_view reason) {
  throw ProfileWriteError("无法写入设置文件 " + PathText(file) + ": " + std::string(reason));
}

// Refuses what would not read back as written or would damage other lines.
void CheckStorable(const fs::path& file, std::string_view section, std::string_view key,
                   std::string_view value) {
  constexpr std::string_view kLineBreaks = "\r\n";
  if (section.find_first_of(kLineBreaks) != std::string_view::npos ||
      key.find_first_of(kLineBreaks) != std::string_view::npos ||
      value.find_first_of(kLineBreaks) != std::string_view::npos) {
    Fail(file, "节名、键名或值含有换行符");
  }
  if (key.find('=') != std::string_view::npos) Fail(file, "键名含有等号");
  const std::string_view name = TrimBlanks(key);
  if (name.starts_with(';') || name.starts_with('[')) Fail(file, "键名以 ; 或 [ 开头");
  // The closing ']' would become the trail byte of the half character.
  if (EndsInHalfCharacter(TrimBlanks(section))) Fail(file, "节名以不完整的双字节字符结尾");
}

}  // namespace

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view default_value) {
  const std::optional<std::string> content = ReadFileBytes(file);
  if (!content) return std::string(default_value);
  const KeySearch search = FindKey(*content, TrimBlanks(section), TrimBlanks(key));
  return std::string(search.key_found ? search.value : default_value);
}

void WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value) {
  CheckStorable(file, section, key, value);
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  const bool exists = status.type() != fs::file_type::not_found;
  if (error && exists) Fail(file, "无法读取原文件: " + error.message());
  std::string content;
  if (exists) {
    if (!fs::is_regular_file(status)) Fail(file, "不是普通文件");
    std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) Fail(file, "无法读取原文件");
    content = std::move(*bytes);
  }
  const std::string updated = WithValue(content, TrimBlanks(section), TrimBlanks(key), value);
  if (exists && updated == content) return;
  // Windows refuses to replace a read-only file; elsewhere the rename would
  // succeed, so the flag is honoured here on every platform.
  if (exists && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    Fail(file, "文件为只读");
  }
  const std::string failure = ReplaceFileBytes(
      file, updated, exists ? std::optional<fs::perms>(status.permissions()) : std::nullopt);
  if (!failure.empty()) Fail(file, failure);
}

}  // namespace tarnvex
