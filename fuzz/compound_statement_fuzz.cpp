// Feeds arbitrary UTF-16 texts (two input bytes a code unit) to the stand-in's
// conditional-statement scanner: it may only answer nullopt, the parts, or
// CompoundStatementError, and the parts it returns lie inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "standin/compound_statement.h"

namespace {

bool Inside(std::u16string_view part, std::u16string_view text) {
  if (part.empty()) return true;
  const std::less_equal<const char16_t*> not_after;
  return not_after(text.data(), part.data()) &&
         not_after(part.data() + part.size(), text.data() + text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  try {
    const auto statement = tarnvex::ScanCompoundStatement(text);
    if (!statement) return 0;
    if (!Inside(statement->condition_query, text) || !Inside(statement->then_statement, text) ||
        !Inside(statement->else_statement, text)) {
      std::abort();
    }
  } catch (const tarnvex::CompoundStatementError&) {
  }
  return 0;
}
