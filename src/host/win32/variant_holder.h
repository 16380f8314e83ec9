#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstring>

namespace tarnvex {

// An owned VARIANT: initialised empty, cleared with VariantClear (which frees
// its BSTR, SAFEARRAY or interface) when this object goes or is reassigned.
class VariantHolder {
 public:
  VariantHolder() { VariantInit(&value_); }
  VariantHolder(VariantHolder&& other) noexcept {
    std::memcpy(&value_, &other.value_, sizeof value_);
    VariantInit(&other.value_);
  }
  VariantHolder& operator=(VariantHolder&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      std::memcpy(&value_, &other.value_, sizeof value_);
      VariantInit(&other.value_);
    }
    return *this;
  }
  VariantHolder(const VariantHolder&) = delete;
  VariantHolder& operator=(const VariantHolder&) = delete;
  ~VariantHolder() { VariantClear(&value_); }

  VARIANT* get() { return &value_; }
  const VARIANT& value() const { return value_; }

  // Gives the content away (e.g. into a slot of a SAFEARRAY of variants, which
  // frees it from then on) and leaves this holder empty.
  VARIANT Release() {
    VARIANT released;
    std::memcpy(&released, &value_, sizeof released);
    VariantInit(&value_);
    return released;
  }

 private:
  VARIANT value_;
};

}  // namespace tarnvex
