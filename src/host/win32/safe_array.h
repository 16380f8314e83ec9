#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>
#include <utility>

namespace tarnvex {

// An owned one-dimensional SAFEARRAY, destroyed with SafeArrayDestroy (which
// clears every element it holds).
class SafeArray {
 public:
  // A new array of count elements of type element_type, each empty or zero.
  // Throws std::bad_alloc, or std::length_error when count does not fit the
  // array's 32-bit bounds.
  SafeArray(VARTYPE element_type, int32_t lower_bound, size_t count);
  SafeArray(SafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
  SafeArray& operator=(SafeArray&& other) noexcept {
    std::swap(array_, other.array_);
    return *this;
  }
  SafeArray(const SafeArray&) = delete;
  SafeArray& operator=(const SafeArray&) = delete;
  ~SafeArray() {
    if (array_) SafeArrayDestroy(array_);
  }

  SAFEARRAY* get() const { return array_; }
  // Gives the array away, e.g. into a VARIANT that destroys it from then on.
  SAFEARRAY* Release() { return std::exchange(array_, nullptr); }

 private:
  SAFEARRAY* array_ = nullptr;
};

// Keeps a SAFEARRAY's data locked and reachable through data() while it lives.
class SafeArrayData {
 public:
  // Throws HostCallError when the array cannot be locked.
  explicit SafeArrayData(SAFEARRAY* array);
  SafeArrayData(const SafeArrayData&) = delete;
  SafeArrayData& operator=(const SafeArrayData&) = delete;
  ~SafeArrayData() { SafeArrayUnaccessData(array_); }

  void* data() const { return data_; }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

}  // namespace tarnvex
