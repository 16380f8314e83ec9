#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tarnvex {

class Variant;

// A one-dimensional array of variants with its bounds, as the host's automation
// object passes it (error lines, statement batches). The lower bound is whatever
// the sender chose; the upper bound follows from the element count.
struct VariantArray {
  int32_t lower_bound = 0;
  std::vector<Variant> elements;

  // Defined below Variant: the element type must be complete first.
  int32_t upper_bound() const;
  bool operator==(const VariantArray&) const = default;
};

// The values that cross the host boundary: empty, null, boolean, 32-bit integer,
// double, wide string, byte array and one-dimensional array of variants.
class Variant {
 public:
  enum class Kind { kEmpty, kNull, kBool, kInt32, kDouble, kString, kBytes, kArray };

  Variant() = default;
  explicit Variant(bool value) : value_(value) {}
  explicit Variant(int32_t value) : value_(value) {}
  explicit Variant(double value) : value_(value) {}
  explicit Variant(std::u16string value) : value_(std::move(value)) {}
  explicit Variant(const char16_t* value) : value_(std::u16string(value)) {}
  // Narrow texts are code page 936 and must be converted: use FromText. Without
  // this a char pointer would silently become a boolean.
  explicit Variant(const char* value) = delete;
  explicit Variant(std::vector<uint8_t> bytes) : value_(std::move(bytes)) {}
  explicit Variant(VariantArray array) : value_(std::move(array)) {}

  static Variant Null() { return Variant(NullTag{}); }
  // A wide string made from code page 936 bytes.
  static Variant FromText(std::string_view cp936);

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool is_empty() const { return kind() == Kind::kEmpty; }

  // Accessors; each requires the matching kind (checked, throws std::bad_variant_access).
  bool as_bool() const { return std::get<bool>(value_); }
  int32_t as_int32() const { return std::get<int32_t>(value_); }
  double as_double() const { return std::get<double>(value_); }
  const std::u16string& as_string() const { return std::get<std::u16string>(value_); }
  const std::vector<uint8_t>& as_bytes() const { return std::get<std::vector<uint8_t>>(value_); }
  const VariantArray& as_array() const { return std::get<VariantArray>(value_); }
  VariantArray& as_array() { return std::get<VariantArray>(value_); }

  // The value converted to text as OLE Automation converts a scalar to a string:
  // empty gives "", booleans "True" / "False", numbers in decimal with a point.
  // Null, byte arrays and arrays have no text: nullopt.
  std::optional<std::u16string> ToWideText() const;
  // The same, as code page 936 bytes.
  std::optional<std::string> ToText() const;

  bool operator==(const Variant&) const = default;

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  explicit Variant(NullTag tag) : value_(tag) {}

  // Alternative order follows Kind.
  std::variant<std::monostate, NullTag, bool, int32_t, double, std::u16string, std::vector<uint8_t>,
               VariantArray>
      value_;
};

inline int32_t VariantArray::upper_bound() const {
  return lower_bound + static_cast<int32_t>(elements.size()) - 1;
}

}  // namespace tarnvex
