#pragma once

#include <utility>

namespace tarnvex {

// One counted reference on a COM interface, released when this object goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a reference of its own on pointer, which may be null.
  explicit ComPtr(Interface* pointer) : pointer_(pointer) {
    if (pointer_) pointer_->AddRef();
  }
  // Takes over a reference that the caller already holds (a created object, the
  // result of QueryInterface).
  static ComPtr Adopt(Interface* pointer) {
    ComPtr adopted;
    adopted.pointer_ = pointer;
    return adopted;
  }

  ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (Interface* released = std::exchange(pointer_, nullptr)) released->Release();
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace tarnvex
