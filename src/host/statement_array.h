#pragma once

#include <string>
#include <vector>

#include "host/variant.h"

namespace tarnvex {

// The statement array the host's statement operation takes: lower bound 0, one
// wide string per line in list order; an empty variant for an empty list.
Variant StringsToVariantArray(const std::vector<std::string>& lines);

}  // namespace tarnvex
