#pragma once

#include <windows.h>

#include <string>

#include "widgets/column_grid.h"
#include "widgets/win32/device_contexts.h"
#include "widgets/win32/owned_handle.h"

namespace tarnvex {

template <typename Handle>
void DeleteGdiObject(Handle handle) {
  DeleteObject(handle);
}

// Owns one GDI object (font, brush, pen, bitmap) and deletes it.
template <typename Handle>
using GdiObject = OwnedHandle<Handle, DeleteGdiObject<Handle>>;

// Selects an object into a device context and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// An off-screen picture of a window's client area: everything is drawn here
// first and copied to the screen in one go, so that nothing flickers.
class BufferedCanvas {
 public:
  BufferedCanvas(HDC target, int width, int height);
  // A picture of only a part of the client area, drawn in the client's
  // coordinates: a repaint of one cell needs no bitmap of the whole window.
  BufferedCanvas(HDC target, const RECT& part);
  ~BufferedCanvas();
  BufferedCanvas(const BufferedCanvas&) = delete;
  BufferedCanvas& operator=(const BufferedCanvas&) = delete;

  HDC dc() const { return dc_.get(); }
  // Copies the picture onto the target.
  void Present() const;

 private:
  HDC target_;
  POINT origin_;
  int width_;
  int height_;
  MemoryDc dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
};

// The GDI font of a control's font. A charset of 0 asks for the default one,
// whose fallbacks have the system's Chinese glyphs: item names are Chinese
// even in the Latin cell font.
GdiObject<HFONT> MakeFont(const Font& font);

// A Win32 colour from our 0x00BBGGRR value (they are the same layout).
inline COLORREF ToColorRef(Colour colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }

void FillSolid(HDC dc, const RECT& rect, Colour colour);

}  // namespace tarnvex
