#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "text/codepage.h"

namespace tarnvex {

namespace {

// char16_t strings are in the machine's byte order.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr const char* kCp936 = "CP936";

// One open conversion direction. Opening one costs far more than converting a
// cell's text, and the stand-in converts every cell of every query result, so
// descriptors are opened once and kept; a descriptor carries conversion state
// and must not be shared between threads, so each thread keeps its own.
class IconvDescriptor {
 public:
  IconvDescriptor(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {
    if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("无法打开编码转换：") + from + " -> " + to);
    }
  }
  ~IconvDescriptor() { iconv_close(descriptor_); }
  IconvDescriptor(const IconvDescriptor&) = delete;
  IconvDescriptor& operator=(const IconvDescriptor&) = delete;

  iconv_t get() const { return descriptor_; }

 private:
  iconv_t descriptor_;
};

// Runs all of `input` through `descriptor` into a string of Out units. Where
// iconv stops at a sequence it cannot convert (EILSEQ) or at an incomplete one
// at the end (EINVAL), `replacement` is written and one input unit of
// `input_unit` bytes is skipped, so every input gives a result and the text
// after a bad byte survives.
template <typename Out>
Out Convert(iconv_t descriptor, const char* input, size_t input_size, size_t input_unit,
            typename Out::value_type replacement, size_t initial_capacity) {
  using Unit = typename Out::value_type;
  iconv(descriptor, nullptr, nullptr, nullptr, nullptr);

  Out out(std::max<size_t>(initial_capacity, 1), Unit());
  size_t written = 0;
  // iconv's interface is not const-correct; it never writes to the input.
  char* in = const_cast<char*>(input);
  size_t in_left = input_size;
  while (in_left > 0) {
    char* out_ptr = reinterpret_cast<char*>(out.data() + written);
    size_t out_left = (out.size() - written) * sizeof(Unit);
    const size_t result = iconv(descriptor, &in, &in_left, &out_ptr, &out_left);
    written = out.size() - out_left / sizeof(Unit);
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    if (written == out.size()) out.resize(out.size() * 2);
    out[written++] = replacement;
    const size_t skip = std::min(input_unit, in_left);
    in += skip;
    in_left -= skip;
  }
  out.resize(written);
  return out;
}

iconv_t ToUtf16Descriptor() {
  thread_local const IconvDescriptor descriptor(kUtf16, kCp936);
  return descriptor.get();
}

iconv_t ToCp936Descriptor() {
  thread_local const IconvDescriptor descriptor(kCp936, kUtf16);
  return descriptor.get();
}

// Codes, field names and SQL are mostly ASCII, which is the same in both
// encodings and needs no trip through iconv.
template <typename Text>
bool IsAscii(const Text& text) {
  return std::all_of(text.begin(), text.end(), [](auto unit) {
    return static_cast<std::make_unsigned_t<decltype(unit)>>(unit) < 0x80;
  });
}

// Copies every byte into a UTF-16 unit and tells whether all were ASCII. Save
// batches of a hundred megabytes pass through here, so the loop is kept free of
// branches and built with full optimisation, which vectorises it.
__attribute__((optimize("O3"))) bool WidenAndCheckAscii(std::string_view bytes, char16_t* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  unsigned char seen = 0;
  for (size_t i = 0, n = bytes.size(); i < n; ++i) {
    seen |= in[i];
    out[i] = in[i];
  }
  return seen < 0x80;
}

}  // namespace

std::u16string Cp936ToUtf16(std::string_view bytes) {
  std::u16string widened(bytes.size(), u'\0');
  if (WidenAndCheckAscii(bytes, widened.data())) return widened;
  // A character never takes fewer bytes than UTF-16 units.
  return Convert<std::u16string>(ToUtf16Descriptor(), bytes.data(), bytes.size(), 1,
                                 char16_t{0xFFFD}, bytes.size());
}

std::string Utf16ToCp936(std::u16string_view text) {
  if (IsAscii(text)) return std::string(text.begin(), text.end());
  // At most two bytes per UTF-16 unit. Skipping a single unit on failure
  // turns an unmappable surrogate pair into "??", as Windows does.
  return Convert<std::string>(ToCp936Descriptor(), reinterpret_cast<const char*>(text.data()),
                              text.size() * sizeof(char16_t), sizeof(char16_t), '?',
                              text.size() * 2);
}

}  // namespace tarnvex
