// Feeds arbitrary UTF-16 texts (two input bytes a code unit) to the stand-in's
// statement splitter: the statements it returns are non-empty, lie inside the
// text in order without overlapping, and carry no surrounding blanks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "standin/statement_splitter.h"

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  const std::less_equal<const char16_t*> not_after;
  const char16_t* previous_end = text.data();
  for (const std::u16string_view statement : tarnvex::SplitStatements(text)) {
    if (statement.empty() || IsBlank(statement.front()) || IsBlank(statement.back())) std::abort();
    if (!not_after(previous_end, statement.data()) ||
        !not_after(statement.data() + statement.size(), text.data() + text.size())) {
      std::abort();
    }
    previous_end = statement.data() + statement.size();
  }
  return 0;
}
