#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnvex {

// Writing the settings file failed, or the section, key or value cannot be
// stored in it; what() names the file (code page 936 on Windows, the file
// system's own bytes elsewhere). The file is left as it was.
class ProfileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The settings (INI) file, read and written as the Windows profile functions do,
// on every platform. Sections "[name]" and lines "key=value" hold code page 936
// byte strings. Section and key names match without regard to the case of ASCII
// letters (a trail byte of a double-byte character is never folded) and with
// surrounding spaces and tabs ignored, so the key " " is the empty name. Lines
// whose first non-blank byte is ';' are comments; inside a section, lines
// without '=' are not keys. The first matching section and, in it, the first
// matching key count.

// The key's value with surrounding blanks removed ("key=" gives ""); the
// default when the file, the section or the key is missing or the file cannot
// be read.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view default_value);

// Sets the key's value, creating the file (CR LF line ends), the section (at the
// end) or the key (after the last key line of its section) as needed; replacing
// a value rewrites only the value on the key's line. Every other byte of the
// file stays as it was, and inserted lines follow the file's own line ends; new
// names are written without their surrounding blanks. The new content goes to a
// temporary file in the same folder that then replaces the original, so a
// failure never loses the file; a file that already holds the value is not
// touched.
// Raises ProfileWriteError when the file cannot be read, is read-only or cannot
// be replaced, and for names or values that would not read back as written: a
// line break anywhere, '=' in the key, a key that starts with ';' or '[', a
// section that ends in half of a double-byte character.
void WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace tarnvex
