#include "wine/window_picture.h"

#include <algorithm>

namespace tarnvex::testing {

namespace {

// The picture of a rectangle of a device context.
Picture CopyPicture(HDC source, const RECT& rect) {
  Picture picture;
  BITMAPINFOHEADER& info = picture.info;
  info.biSize = sizeof info;
  info.biWidth = rect.right - rect.left;
  info.biHeight = rect.bottom - rect.top;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, info.biWidth, info.biHeight);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, info.biWidth, info.biHeight, source, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  picture.pixels.resize(static_cast<size_t>(picture.stride()) * info.biHeight);
  GetDIBits(memory, bitmap, 0, info.biHeight, picture.pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return picture;
}

}  // namespace

int Picture::Brightness(int x, int y) const {
  const BYTE* pixel = &pixels[static_cast<size_t>(height() - 1 - y) * stride() + x * 3];
  return (pixel[0] + pixel[1] + pixel[2]) / 3;
}

COLORREF Picture::Pixel(int x, int y) const {
  const BYTE* pixel = &pixels[static_cast<size_t>(height() - 1 - y) * stride() + x * 3];
  return RGB(pixel[2], pixel[1], pixel[0]);
}

int Picture::CountColour(int top, int bottom, COLORREF colour) const {
  int count = 0;
  for (int y = std::max(0, top); y < bottom && y < height(); ++y) {
    for (int x = 0; x < width(); ++x) count += Pixel(x, y) == colour ? 1 : 0;
  }
  return count;
}

Picture TakePicture(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  HDC dc = GetWindowDC(window);
  Picture picture = CopyPicture(dc, rect);
  ReleaseDC(window, dc);
  return picture;
}

Picture TakeScreenPicture(const RECT& rect) {
  HDC dc = GetDC(nullptr);
  Picture picture = CopyPicture(dc, rect);
  ReleaseDC(nullptr, dc);
  return picture;
}

bool SavePicture(const Picture& picture, const std::wstring& path) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof picture.info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(picture.pixels.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &picture.info, sizeof picture.info, &written, nullptr) &&
            WriteFile(out, picture.pixels.data(), static_cast<DWORD>(picture.pixels.size()),
                      &written, nullptr);
  CloseHandle(out);
  return ok;
}

bool SaveWindowPicture(HWND window, const std::wstring& path) {
  return SavePicture(TakePicture(window), path);
}

}  // namespace tarnvex::testing
