#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tarnvex::testing {

// A window's picture, as 24-bit rows from the bottom up (the BMP order).
struct Picture {
  BITMAPINFOHEADER info{};
  std::vector<BYTE> pixels;

  int width() const { return info.biWidth; }
  int height() const { return info.biHeight; }
  DWORD stride() const { return ((info.biWidth * 3 + 3) / 4) * 4; }
  // The brightness (0..255) of the pixel at x, y from the window's top left.
  int Brightness(int x, int y) const;
  COLORREF Pixel(int x, int y) const;
  // How many pixels of a band of lines [top, bottom) have the colour.
  int CountColour(int top, int bottom, COLORREF colour) const;
};

// Read from the window's own DC, which Wine keeps up to date, rather than from
// the screen, which it updates later.
Picture TakePicture(HWND window);
// A rectangle of the screen as the operator sees it, popups over the windows
// included.
Picture TakeScreenPicture(const RECT& rect);

// Saves a picture as a BMP file, for the record of how a screen looked.
bool SavePicture(const Picture& picture, const std::wstring& path);
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace tarnvex::testing
