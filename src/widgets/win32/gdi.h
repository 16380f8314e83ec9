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

// An off-screen picture of a part of a window's client area, kept from one
// repaint to the next: everything is drawn here first and copied to the
// screen in one go, so that nothing flickers. A window may repaint a small
// part often (a grid repaints a cell per keystroke), and making
// a bitmap compatible with the screen, and selecting one, makes Wine look up
// the display's devices, several round trips to the server each time: this
// one is made once and grows only when a larger part is asked for.
class BackBuffer {
 public:
  BackBuffer() = default;
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // Where to draw the part of target's client area, in the client's
  // coordinates: the picture, or target itself when no picture can be made.
  HDC Begin(HDC target, const RECT& part);
  // Copies what was drawn since Begin onto the target.
  void Present(HDC target) const;

 private:
  MemoryDc dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  RECT part_{};
  bool drawn_off_screen_ = false;
};

// A dotted frame drawn as DrawFocusRect draws one: every other pixel of its
// one-pixel outline inverted, so drawing it twice takes it away. Drawn with a
// checker brush of its own, since DrawFocusRect first asks the system for the
// focus border's size, which under Wine costs round trips to the server on
// every repaint of the current cell.
class FocusFrame {
 public:
  FocusFrame();
  void Draw(HDC dc, const RECT& rect) const;

 private:
  GdiObject<HBITMAP> checker_;
  GdiObject<HBRUSH> brush_;
};

// The GDI font of a control's font. A charset of 0 asks for the default one,
// whose fallbacks have the system's Chinese glyphs: item names are Chinese
// even in the Latin cell font.
GdiObject<HFONT> MakeFont(const Font& font);

// A Win32 colour from our 0x00BBGGRR value (they are the same layout).
inline COLORREF ToColorRef(Colour colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }

void FillSolid(HDC dc, const RECT& rect, Colour colour);

}  // namespace tarnvex
