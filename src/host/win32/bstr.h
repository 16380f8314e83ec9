#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace tarnvex {

// An owned BSTR, freed with SysFreeString.
class Bstr {
 public:
  Bstr() = default;
  // A copy of text, embedded zero characters included. Throws std::bad_alloc.
  explicit Bstr(std::u16string_view text);
  // Takes over a BSTR that the caller owns (null allowed).
  static Bstr Adopt(BSTR value) {
    Bstr adopted;
    adopted.value_ = value;
    return adopted;
  }

  Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    std::swap(value_, other.value_);
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(value_); }

  BSTR get() const { return value_; }
  // Gives the string away, e.g. into a VARIANT that frees it from then on.
  BSTR Release() { return std::exchange(value_, nullptr); }

  // The text of any BSTR by its stored length; a null BSTR is the empty text.
  static std::u16string ToString(BSTR value);

 private:
  BSTR value_ = nullptr;
};

}  // namespace tarnvex
