#include "widgets/win32/gdi.h"

#include "widgets/win32/wide_text.h"

namespace tarnvex {

BufferedCanvas::BufferedCanvas(HDC target, int width, int height)
    : BufferedCanvas(target, RECT{0, 0, width, height}) {}

BufferedCanvas::BufferedCanvas(HDC target, const RECT& part)
    : target_(target),
      origin_{part.left, part.top},
      width_(part.right > part.left ? part.right - part.left : 1),
      height_(part.bottom > part.top ? part.bottom - part.top : 1),
      dc_(CreateCompatibleDC(target)),
      bitmap_(CreateCompatibleBitmap(target, width_, height_)) {
  if (dc_.get() != nullptr && bitmap_.get() != nullptr) {
    old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
    SetViewportOrgEx(dc_.get(), -origin_.x, -origin_.y, nullptr);
  }
}

BufferedCanvas::~BufferedCanvas() {
  // The bitmap leaves the DC before either is deleted.
  if (old_bitmap_ != nullptr) SelectObject(dc_.get(), old_bitmap_);
}

void BufferedCanvas::Present() const {
  if (old_bitmap_ != nullptr) {
    BitBlt(target_, origin_.x, origin_.y, width_, height_, dc_.get(), origin_.x, origin_.y,
           SRCCOPY);
  }
}

GdiObject<HFONT> MakeFont(const Font& font) {
  LOGFONTW description{};
  description.lfHeight = font.height;
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = static_cast<BYTE>(font.charset == 0 ? DEFAULT_CHARSET : font.charset);
  description.lfQuality = DEFAULT_QUALITY;
  std::wstring face = ToWide(font.name);
  face.copy(description.lfFaceName, LF_FACESIZE - 1);
  return GdiObject<HFONT>(CreateFontIndirectW(&description));
}

void FillSolid(HDC dc, const RECT& rect, Colour colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(colour)));
  FillRect(dc, &rect, brush.get());
}

}  // namespace tarnvex
