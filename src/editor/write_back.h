#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnvex {

// A parameter cell of the vehicle-type grid that is not a number. The text
// names the vehicle type, the column and the cell's text, so the operator can
// find and mend it.
class WriteBackError : public std::runtime_error {
 public:
  WriteBackError(std::string_view type_code, std::string_view header, std::string_view text);
};

}  // namespace tarnvex
