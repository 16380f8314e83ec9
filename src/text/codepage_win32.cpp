#include <windows.h>

#include <climits>
#include <stdexcept>
#include <system_error>

#include "text/codepage.h"

namespace tarnvex {

namespace {

constexpr UINT kCp936 = 936;

// The Win32 conversion functions count in int.
int CheckedLength(size_t length, size_t limit) {
  if (length > limit) throw std::length_error("文本过长，无法转换编码");
  return static_cast<int>(length);
}

// With a valid code page and a large enough buffer the functions cannot fail;
// if they do anyway (code page 936 missing), an empty text must not pass for
// the converted one.
size_t CheckedResult(int written) {
  if (written <= 0) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "代码页 936 转换失败");
  }
  return static_cast<size_t>(written);
}

}  // namespace

// Both directions keep the functions' default behaviour (no error flags): an
// invalid byte sequence becomes a replacement character and a character that
// code page 936 lacks becomes its default character '?', never an error.

std::u16string Cp936ToUtf16(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = CheckedLength(bytes.size(), INT_MAX);
  // A character never takes fewer bytes than UTF-16 units.
  std::u16string out(bytes.size(), u'\0');
  const int written = MultiByteToWideChar(kCp936, 0, bytes.data(), length,
                                          reinterpret_cast<wchar_t*>(out.data()), length);
  out.resize(CheckedResult(written));
  return out;
}

std::string Utf16ToCp936(std::u16string_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size(), INT_MAX / 2);
  // At most two bytes per UTF-16 unit.
  std::string out(text.size() * 2, '\0');
  const int written = WideCharToMultiByte(kCp936, 0, reinterpret_cast<const wchar_t*>(text.data()),
                                          length, out.data(), length * 2, nullptr, nullptr);
  out.resize(CheckedResult(written));
  return out;
}

}  // namespace tarnvex
