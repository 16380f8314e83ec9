#include "host/cell_store.h"

#include <bit>
#include <limits>
#include <stdexcept>

namespace tarnvex {

CellStore::CellStore(std::initializer_list<FieldValue> cells) {
  reserve(cells.size());
  for (const FieldValue& cell : cells) Append(cell);
}

CellStore::CellStore(const std::vector<FieldValue>& cells) {
  reserve(cells.size());
  for (const FieldValue& cell : cells) Append(cell);
}

void CellStore::clear() {
  kinds_.clear();
  payload_.clear();
  texts_.clear();
}

std::string_view CellStore::text(size_t at) const {
  const uint64_t place = payload_[at];
  return std::string_view(texts_).substr(static_cast<size_t>(place >> 32),
                                         static_cast<size_t>(place & 0xFFFFFFFFu));
}

double CellStore::number(size_t at) const { return std::bit_cast<double>(payload_[at]); }

FieldValue CellStore::Get(size_t at) const {
  switch (kind(at)) {
    case Kind::kText:
      return std::string(text(at));
    case Kind::kNumber:
      return number(at);
    case Kind::kNull:
      break;
  }
  return {};
}

uint64_t CellStore::StoreText(std::string_view text) {
  // Offsets and lengths take 32 bits each, as they do in a serialized packet.
  constexpr size_t kLimit = std::numeric_limits<uint32_t>::max();
  if (text.size() > kLimit || texts_.size() > kLimit - text.size()) {
    throw std::length_error("单元格文本超过 4GB");
  }
  const uint64_t place = (uint64_t{texts_.size()} << 32) | text.size();
  texts_.append(text);
  return place;
}

void CellStore::Append(const FieldValue& value) {
  AppendNull();
  Set(size() - 1, value);
}

void CellStore::AppendText(std::string_view text) {
  payload_.push_back(StoreText(text));
  kinds_.push_back(static_cast<uint8_t>(Kind::kText));
}

void CellStore::AppendNumber(double number) {
  payload_.push_back(std::bit_cast<uint64_t>(number));
  kinds_.push_back(static_cast<uint8_t>(Kind::kNumber));
}

void CellStore::AppendNull() {
  payload_.push_back(0);
  kinds_.push_back(static_cast<uint8_t>(Kind::kNull));
}

void CellStore::Set(size_t at, const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    payload_[at] = StoreText(*text);
    kinds_[at] = static_cast<uint8_t>(Kind::kText);
  } else if (const auto* number = std::get_if<double>(&value)) {
    payload_[at] = std::bit_cast<uint64_t>(*number);
    kinds_[at] = static_cast<uint8_t>(Kind::kNumber);
  } else {
    payload_[at] = 0;
    kinds_[at] = static_cast<uint8_t>(Kind::kNull);
  }
}

void CellStore::Grow(size_t count) {
  kinds_.resize(kinds_.size() + count, static_cast<uint8_t>(Kind::kNull));
  payload_.resize(payload_.size() + count, 0);
}

bool CellStore::operator==(const CellStore& other) const {
  if (size() != other.size()) return false;
  for (size_t at = 0; at < size(); ++at) {
    if (kind(at) != other.kind(at)) return false;
    switch (kind(at)) {
      case Kind::kText:
        if (text(at) != other.text(at)) return false;
        break;
      case Kind::kNumber:
        // As FieldValues compare: NaN equals nothing, -0 equals 0.
        if (number(at) != other.number(at)) return false;
        break;
      case Kind::kNull:
        break;
    }
  }
  return true;
}

}  // namespace tarnvex
