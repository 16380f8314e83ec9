#include "plugin/win32/editor_pictures.h"

#include <array>

#include "widgets/win32/creation_calls.h"
#include "widgets/win32/device_contexts.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/last_error.h"

namespace tarnvex {

namespace {

// What is drawn in this colour is transparent.
constexpr COLORREF kMask = RGB(255, 0, 255);

struct Pen {
  Pen(HDC dc, COLORREF colour, int width)
      : pen(CreatePen(PS_SOLID, width, colour)), selected(dc, pen.get()) {}
  GdiObject<HPEN> pen;
  SelectedObject selected;
};

struct Brush {
  Brush(HDC dc, COLORREF colour) : brush(CreateSolidBrush(colour)), selected(dc, brush.get()) {}
  GdiObject<HBRUSH> brush;
  SelectedObject selected;
};

void Box(HDC dc, int x, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge) {
  Pen pen(dc, edge, 1);
  Brush brush(dc, fill);
  Rectangle(dc, x + left, top, x + right, bottom);
}

void Line(HDC dc, int x, std::initializer_list<POINT> points, COLORREF colour, int width) {
  Pen pen(dc, colour, width);
  bool first = true;
  for (POINT point : points) {
    if (first) {
      MoveToEx(dc, x + point.x, point.y, nullptr);
      first = false;
    } else {
      LineTo(dc, x + point.x, point.y);
    }
  }
}

void Disc(HDC dc, int x, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge) {
  Pen pen(dc, edge, 1);
  Brush brush(dc, fill);
  Ellipse(dc, x + left, top, x + right, bottom);
}

void Polygon(HDC dc, int x, std::initializer_list<POINT> points, COLORREF fill, COLORREF edge) {
  std::array<POINT, 8> shifted{};
  size_t count = 0;
  for (POINT point : points) shifted[count++] = {x + point.x, point.y};
  Pen pen(dc, edge, 1);
  Brush brush(dc, fill);
  ::Polygon(dc, shifted.data(), static_cast<int>(count));
}

// The tree's root: a stack of three index cards.
void DrawRoot(HDC dc, int x) {
  Box(dc, x, 5, 1, 15, 8, RGB(120, 200, 255), RGB(0, 70, 140));
  Box(dc, x, 3, 4, 13, 11, RGB(160, 220, 255), RGB(0, 70, 140));
  Box(dc, x, 1, 7, 11, 15, RGB(255, 255, 255), RGB(0, 70, 140));
  Line(dc, x, {{3, 10}, {9, 10}}, RGB(0, 70, 140), 1);
  Line(dc, x, {{3, 12}, {8, 12}}, RGB(0, 70, 140), 1);
}

// Add: a green plus.
void DrawAdd(HDC dc, int x) {
  Disc(dc, x, 1, 1, 15, 15, RGB(40, 170, 60), RGB(0, 100, 20));
  Box(dc, x, 7, 4, 9, 12, RGB(255, 255, 255), RGB(255, 255, 255));
  Box(dc, x, 4, 7, 12, 9, RGB(255, 255, 255), RGB(255, 255, 255));
}

// Save: a floppy disk.
void DrawSave(HDC dc, int x) {
  Box(dc, x, 1, 1, 15, 15, RGB(40, 80, 180), RGB(10, 30, 90));
  Box(dc, x, 4, 1, 12, 6, RGB(230, 230, 230), RGB(10, 30, 90));
  Box(dc, x, 9, 2, 11, 5, RGB(40, 80, 180), RGB(40, 80, 180));
  Box(dc, x, 3, 9, 13, 15, RGB(255, 255, 255), RGB(10, 30, 90));
  Line(dc, x, {{5, 11}, {11, 11}}, RGB(120, 120, 120), 1);
}

// Refresh: a circling green arrow.
void DrawRefresh(HDC dc, int x) {
  Disc(dc, x, 0, 0, 16, 16, RGB(255, 255, 255), RGB(20, 120, 40));
  {
    Pen pen(dc, RGB(20, 150, 40), 2);
    Arc(dc, x + 3, 3, x + 13, 13, x + 13, 6, x + 8, 3);
  }
  Polygon(dc, x, {{9, 5}, {14, 9}, {14, 3}}, RGB(20, 150, 40), RGB(20, 150, 40));
}

// Exit: a door with a red arrow leaving it.
void DrawExit(HDC dc, int x) {
  Box(dc, x, 1, 1, 9, 15, RGB(170, 110, 50), RGB(90, 50, 10));
  Box(dc, x, 6, 7, 8, 9, RGB(255, 220, 0), RGB(255, 220, 0));
  Line(dc, x, {{8, 8}, {14, 8}}, RGB(210, 20, 20), 2);
  Polygon(dc, x, {{11, 4}, {15, 8}, {11, 12}}, RGB(210, 20, 20), RGB(210, 20, 20));
}

// Help: a blue disc with a question mark.
void DrawHelp(HDC dc, int x) {
  Disc(dc, x, 1, 1, 15, 15, RGB(30, 100, 210), RGB(10, 50, 130));
  Line(dc, x, {{5, 6}, {6, 4}, {9, 4}, {10, 6}, {8, 8}, {8, 10}}, RGB(255, 255, 255), 2);
  Box(dc, x, 7, 11, 9, 13, RGB(255, 255, 255), RGB(255, 255, 255));
}

// Delete row: a row of cells crossed out in red.
void DrawDeleteRow(HDC dc, int x) {
  Box(dc, x, 0, 5, 16, 11, RGB(255, 255, 255), RGB(80, 80, 80));
  Line(dc, x, {{5, 5}, {5, 10}}, RGB(80, 80, 80), 1);
  Line(dc, x, {{10, 5}, {10, 10}}, RGB(80, 80, 80), 1);
  Line(dc, x, {{3, 2}, {13, 14}}, RGB(220, 20, 20), 2);
  Line(dc, x, {{13, 2}, {3, 14}}, RGB(220, 20, 20), 2);
}

// An item: a sheet with lines of text.
void DrawItem(HDC dc, int x) {
  Polygon(dc, x, {{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, RGB(255, 255, 255),
          RGB(60, 60, 60));
  for (int y : {5, 8, 11}) Line(dc, x, {{5, y}, {11, y}}, RGB(30, 100, 210), 1);
}

// A category: a yellow folder.
void DrawCategory(HDC dc, int x) {
  Polygon(dc, x, {{1, 3}, {6, 3}, {7, 5}, {15, 5}, {15, 14}, {1, 14}}, RGB(250, 200, 60),
          RGB(150, 100, 0));
  Line(dc, x, {{1, 7}, {15, 7}}, RGB(150, 100, 0), 1);
}

struct Drawing {
  EditorPicture picture;
  void (*draw)(HDC, int);
};

constexpr std::array<Drawing, kEditorPictureCount> kDrawings = {{
    {EditorPicture::kTreeRoot, DrawRoot},
    {EditorPicture::kAdd, DrawAdd},
    {EditorPicture::kDeleteRow, DrawDeleteRow},
    {EditorPicture::kSave, DrawSave},
    {EditorPicture::kRefresh, DrawRefresh},
    {EditorPicture::kHelp, DrawHelp},
    {EditorPicture::kExit, DrawExit},
    {EditorPicture::kCategory, DrawCategory},
    {EditorPicture::kItem, DrawItem},
}};

constexpr bool EveryPictureDrawnInItsPlace() {
  for (size_t i = 0; i < kDrawings.size(); ++i) {
    if (PictureIndex(kDrawings[i].picture) != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(EveryPictureDrawnInItsPlace());

}  // namespace

EditorPictures::EditorPictures()
    : list_(Creation().create_image_list(kEditorPictureSize, kEditorPictureSize,
                                         ILC_COLOR24 | ILC_MASK, kEditorPictureCount, 0)) {
  if (list_.get() == nullptr) ThrowLastError("ImageList_Create");
  constexpr int kStripWidth = kEditorPictureSize * kEditorPictureCount;
  ScreenDc screen(GetDC(nullptr));
  MemoryDc dc(CreateCompatibleDC(screen.get()));
  GdiObject<HBITMAP> strip(CreateCompatibleBitmap(screen.get(), kStripWidth, kEditorPictureSize));
  {
    SelectedObject selected(dc.get(), strip.get());
    RECT all{0, 0, kStripWidth, kEditorPictureSize};
    GdiObject<HBRUSH> mask(CreateSolidBrush(kMask));
    FillRect(dc.get(), &all, mask.get());
    for (const Drawing& drawing : kDrawings) {
      drawing.draw(dc.get(), PictureIndex(drawing.picture) * kEditorPictureSize);
    }
  }
  // The strip is copied into the list; ours is freed with strip.
  ImageList_AddMasked(list_.get(), strip.get(), kMask);
}

}  // namespace tarnvex
