#include "widgets/win32/gdi.h"

#include <algorithm>
#include <utility>

#include "widgets/win32/wide_text.h"

namespace tarnvex {

BackBuffer::~BackBuffer() {
  // The bitmap leaves the DC before either is deleted.
  if (old_bitmap_ != nullptr) SelectObject(dc_.get(), old_bitmap_);
}

HDC BackBuffer::Begin(HDC target, const RECT& part) {
  part_ = part;
  const int width = std::max<int>(1, part.right - part.left);
  const int height = std::max<int>(1, part.bottom - part.top);
  if (dc_.get() == nullptr) dc_ = MemoryDc(CreateCompatibleDC(target));
  if (dc_.get() != nullptr && (width > width_ || height > height_)) {
    const int grown_width = std::max(width, width_);
    const int grown_height = std::max(height, height_);
    GdiObject<HBITMAP> grown(CreateCompatibleBitmap(target, grown_width, grown_height));
    if (grown.get() != nullptr) {
      HGDIOBJ previous = SelectObject(dc_.get(), grown.get());
      if (old_bitmap_ == nullptr) old_bitmap_ = previous;
      bitmap_ = std::move(grown);
      width_ = grown_width;
      height_ = grown_height;
    }
  }
  drawn_off_screen_ = bitmap_.get() != nullptr && width <= width_ && height <= height_;
  if (!drawn_off_screen_) return target;
  SetViewportOrgEx(dc_.get(), -part.left, -part.top, nullptr);
  return dc_.get();
}

void BackBuffer::Present(HDC target) const {
  if (!drawn_off_screen_) return;
  BitBlt(target, part_.left, part_.top, part_.right - part_.left, part_.bottom - part_.top,
         dc_.get(), part_.left, part_.top, SRCCOPY);
}

FocusFrame::FocusFrame() {
  // One bit a pixel, rows padded to 16 bits: the first byte of each word is the row.
  static constexpr WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  checker_ = GdiObject<HBITMAP>(CreateBitmap(8, 8, 1, 1, kChecker));
  if (checker_.get() != nullptr) brush_ = GdiObject<HBRUSH>(CreatePatternBrush(checker_.get()));
}

void FocusFrame::Draw(HDC dc, const RECT& rect) const {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (brush_.get() == nullptr || width <= 0 || height <= 0) return;
  // A two-colour brush draws its 0 bits in the text colour and its 1 bits in
  // the background colour: XOR with black keeps a pixel, with white inverts it.
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF background = SetBkColor(dc, RGB(255, 255, 255));
  {
    SelectedObject selected(dc, brush_.get());
    PatBlt(dc, rect.left, rect.top, width, 1, PATINVERT);
    if (height > 1) PatBlt(dc, rect.left, rect.bottom - 1, width, 1, PATINVERT);
    if (height > 2) {
      PatBlt(dc, rect.left, rect.top + 1, 1, height - 2, PATINVERT);
      if (width > 1) PatBlt(dc, rect.right - 1, rect.top + 1, 1, height - 2, PATINVERT);
    }
  }
  SetTextColor(dc, text);
  SetBkColor(dc, background);
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
