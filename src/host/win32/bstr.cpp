#include "host/win32/bstr.h"

#include <new>

namespace tarnvex {

Bstr::Bstr(std::u16string_view text)
    : value_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                               static_cast<UINT>(text.size()))) {
  if (value_ == nullptr) throw std::bad_alloc();
}

std::u16string Bstr::ToString(BSTR value) {
  if (value == nullptr) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(value), SysStringLen(value));
}

}  // namespace tarnvex
