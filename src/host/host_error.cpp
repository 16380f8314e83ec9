#include "host/host_error.h"

namespace tarnvex {

namespace {
constexpr std::string_view kUnknownError = "未知错误！";
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

std::string HostErrorText(const Variant& error) {
  std::string text;
  bool complete = error.kind() == Variant::Kind::kArray;
  if (complete) {
    for (const Variant& element : error.as_array().elements) {
      std::optional<std::string> line = element.ToText();
      if (!line) {
        complete = false;
        break;
      }
      text += *line;
      text += kLineEnd;
    }
  }
  if (!complete) {
    text += kUnknownError;
    text += kLineEnd;
  }
  if (!text.empty()) text.resize(text.size() - kLineEnd.size());
  return text;
}

}  // namespace tarnvex
