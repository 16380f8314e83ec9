#pragma once

#include <windows.h>

#include "widgets/win32/owned_handle.h"

namespace tarnvex {

// The device context of one WM_PAINT, ended however the painting ends: a
// window whose paint is not ended is sent WM_PAINT again and again.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC dc() const { return dc_; }
  const RECT& dirty() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

inline void ReleaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }

// The screen's device context from GetDC(nullptr), released with this
// object: there are only a few common ones to go round.
using ScreenDc = OwnedHandle<HDC, ReleaseScreenDc>;

// A memory device context from CreateCompatibleDC, deleted with this object.
using MemoryDc = OwnedHandle<HDC, DeleteMemoryDc>;

}  // namespace tarnvex
