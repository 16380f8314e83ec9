#include "text/trim.h"

namespace tarnvex {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace tarnvex
