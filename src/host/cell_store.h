#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/field_value.h"

namespace tarnvex {

// The cells of a packet or record table, row-major, kept compact: a byte for
// each cell's kind and eight for its number or for where its text lies in one
// buffer of all the texts. A FieldValue takes 40 bytes with its string held
// inline; a packet of 100,000 parameter rows has three million cells, which as
// FieldValues cost opening the editor some 120 MB of fresh memory and most of
// its time. A text written over another leaves the old bytes unused in the
// buffer until the store is cleared.
class CellStore {
 public:
  // What a cell holds, numbered as FieldValue's alternatives are.
  enum class Kind : uint8_t { kNull = 0, kText = 1, kNumber = 2 };

  CellStore() = default;
  CellStore(std::initializer_list<FieldValue> cells);
  CellStore(const std::vector<FieldValue>& cells);  // NOLINT: a list of cells is a store

  size_t size() const { return kinds_.size(); }
  bool empty() const { return kinds_.empty(); }
  void reserve(size_t cells) {
    kinds_.reserve(cells);
    payload_.reserve(cells);
  }
  void clear();

  Kind kind(size_t at) const { return static_cast<Kind>(kinds_[at]); }
  // The cell's text or number; only for a cell of that kind.
  std::string_view text(size_t at) const;
  double number(size_t at) const;
  FieldValue Get(size_t at) const;

  void Append(const FieldValue& value);
  void AppendText(std::string_view text);
  void AppendNumber(double number);
  void AppendNull();
  void Set(size_t at, const FieldValue& value);
  // Adds count NULL cells at the end.
  void Grow(size_t count);

  // Cell by cell, as the values they hold (not as they are laid out).
  bool operator==(const CellStore& other) const;

 private:
  uint64_t StoreText(std::string_view text);

  std::vector<uint8_t> kinds_;
  // A number's bits, or a text's offset in texts_ (high half) and length.
  std::vector<uint64_t> payload_;
  std::string texts_;
};

}  // namespace tarnvex
