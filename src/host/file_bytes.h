#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarnvex {

// The whole file, or nothing when it cannot be opened or read (a folder opens
// on some systems but fails to read).
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

// Writes the bytes to a temporary file beside the file and renames it over
// the file (MoveFileExW with MOVEFILE_REPLACE_EXISTING on Windows), so the
// file is either the old one or the new one, never a half-written one; the
// temporary file is removed again on failure. The new file gets the given
// permissions, or the system's default. Returns why it failed (code page
// 936), or an empty text on success.
std::string ReplaceFileBytes(const std::filesystem::path& file, std::string_view bytes,
                             std::optional<std::filesystem::perms> permissions = std::nullopt);

}  // namespace tarnvex
