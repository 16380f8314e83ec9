#pragma once

#include <string>
#include <string_view>

namespace tarnvex {

// Removes leading and trailing blanks and control characters (every byte up to
// 0x20). Safe on code page 936 text: a trail byte of a double-byte character is
// never below 0x40.
std::string Trim(std::string_view text);

}  // namespace tarnvex
