#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tarnvex {

// The kind of a record table field or packet column.
enum class FieldKind : uint8_t { kText = 1, kFloat = 2 };

// One field of one record: NULL, code page 936 text, or a number.
using FieldValue = std::variant<std::monostate, std::string, double>;

inline bool IsNull(const FieldValue& value) {
  return std::holds_alternative<std::monostate>(value);
}

}  // namespace tarnvex
