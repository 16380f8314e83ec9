#pragma once

#include <utility>

namespace tarnvex {

// Owns one handle of the system's and frees it with Free when it goes;
// moving hands it over. A null handle is none.
template <typename Handle, auto Free>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle handle) : handle_(handle) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  Handle get() const { return handle_; }
  void Reset() {
    if (handle_ != nullptr) Free(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

}  // namespace tarnvex
