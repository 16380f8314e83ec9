#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnvex {

// Writing the settings file failed; what() names the file.
class ProfileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The settings (INI) file, read and written as the Windows profile functions do,
// on every platform. Sections and keys are code page 936 byte strings, matched
// without regard to ASCII letter case and with surrounding blanks ignored.

// The key's value with surrounding blanks removed; the default when the file,
// the section or the key is missing or the file cannot be read.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view default_value);

// Sets the key's value, creating the file, the section or the key as needed and
// keeping every other byte of the file as it was. Raises ProfileWriteError.
void WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace tarnvex
