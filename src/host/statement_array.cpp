#include "host/statement_array.h"

namespace tarnvex {

Variant StringsToVariantArray(const std::vector<std::string>& lines) {
  if (lines.empty()) return Variant();
  VariantArray array;
  array.lower_bound = 0;
  array.elements.reserve(lines.size());
  for (const std::string& line : lines) array.elements.push_back(Variant::FromText(line));
  return Variant(std::move(array));
}

}  // namespace tarnvex
