// What the grids draw, read back from their pictures: minus signs and
// hyphens, the current cell and the current item's row, and a number too
// wide for its cell.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "wine/demo_database.h"
#include "wine/editor_screen.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/test_host.h"
#include "wine/tool_bar_buttons.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

// Cell text is drawn grey on light backgrounds: darker than this is text.
constexpr int kInkBrightness = 200;

// The text pixels of each line of pixels of a grid's first data row.
std::vector<int> InkOfFirstRow(HWND grid, int row_pitch) {
  Picture picture = TakePicture(grid);
  std::vector<int> ink;
  for (int y = row_pitch; y < 2 * row_pitch && y < picture.height(); ++y) {
    int dark = 0;
    for (int x = 0; x < picture.width(); ++x)
      dark += picture.Brightness(x, y) < kInkBrightness ? 1 : 0;
    ink.push_back(dark);
  }
  return ink;
}

// What a text drawn with one short horizontal stroke more adds to its
// picture: the lines of pixels that gained ink must be at most three next to
// each other (a minus sign or a hyphen), and none may lose ink. Gives the
// number of pixels gained, or 0 when the difference is not such a stroke.
int StrokeGained(const std::vector<int>& without, const std::vector<int>& with) {
  int gained = 0;
  int first = -1;
  int last = -1;
  for (size_t y = 0; y < without.size() && y < with.size(); ++y) {
    const int difference = with[y] - without[y];
    if (difference < 0) return 0;
    if (difference == 0) continue;
    if (first < 0) first = static_cast<int>(y);
    last = static_cast<int>(y);
    gained += difference;
  }
  return first >= 0 && last - first < 3 ? gained : 0;
}

// A font setup that cannot draw '-' at the grids' size (as a CJK font standing
// in for every face does) turns -5.25 into 5.25 on the screen: the operator
// reads a wrong sign on money. Each text is drawn without and with its stroke,
// and the picture must gain exactly a short horizontal stroke.
TEST_F(EditorScreen, MinusSignsAndHyphensAreDrawnInTheCells) {
  auto ink_after_refresh = [&](const std::u16string& amount, const std::u16string& name) {
    EXPECT_TRUE(Execute(
        {u"update tbdyjtxmlb set f_jtqd=" + amount + u" where f_jtxmbm='01' and f_cxbm='01'",
         u"update tbdyjtxmda set f_jtxmmc='" + name + u"' where f_jtxmbm='01'"}));
    SetFocus(tree_);
    PressKey('R', /*ctrl=*/true);
    SetFocus(tree_);  // no caret blinking in a cell while the pictures are taken
    PumpPending();
    return std::make_pair(InkOfFirstRow(type_grid_, kRowPitch),
                          InkOfFirstRow(item_grid_, kRowPitch));
  };
  const auto [amount_without, name_without] = ink_after_refresh(u"5.25", u"ab");
  const auto [amount_with, name_with] = ink_after_refresh(u"-5.25", u"a-b");
  EXPECT_GE(StrokeGained(amount_without, amount_with), 2) << "the minus of -5.25 is not drawn";
  EXPECT_GE(StrokeGained(name_without, name_with), 2) << "the hyphen of a-b is not drawn";
  EXPECT_TRUE(watcher_.boxes().empty());
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"signs.bmp"));
}

// The current cell's background without the focus, as the grid's peer paints
// it.
constexpr COLORREF kQuietHighlight = RGB(0xD0, 0xD0, 0xD0);

// The operator sees where they are: the current cell in the selection colour
// with a focus rectangle while its grid has the focus, grey without it; the
// item whose parameters the vehicle grid shows is tinted across its row.
TEST_F(EditorScreen, TheCurrentCellIsHighlightedAndTheCurrentItemRowTinted) {
  const COLORREF selection = GetSysColor(COLOR_HIGHLIGHT);
  ClickFirstCell(type_grid_);
  PumpPending();
  Picture focused = TakePicture(type_grid_);
  EXPECT_GT(focused.CountColour(RowTop(1), RowTop(2), selection), 100);
  EXPECT_EQ(focused.CountColour(RowTop(2), RowTop(3), selection), 0) << "one cell is current";
  EXPECT_EQ(focused.CountColour(0, focused.height(), kQuietHighlight), 0);
  // Its focus rectangle: every other pixel of the line just inside the
  // cell's top edge inverted.
  const COLORREF inverted = selection ^ 0xFFFFFF;
  const int focus_line = RowTop(1) + 1;
  EXPECT_GT(focused.CountColour(focus_line, focus_line + 1, inverted), 10);
  EXPECT_GT(focused.CountColour(focus_line, focus_line + 1, selection), 10);

  Picture items = TakePicture(item_grid_);
  EXPECT_GT(items.CountColour(RowTop(1), RowTop(2), kCurrentItemTint), 100);
  EXPECT_EQ(items.CountColour(RowTop(2), RowTop(3), kCurrentItemTint), 0);

  SetFocus(tree_);
  PumpPending();
  Picture unfocused = TakePicture(type_grid_);
  EXPECT_EQ(unfocused.CountColour(0, unfocused.height(), selection), 0);
  EXPECT_GT(unfocused.CountColour(RowTop(1), RowTop(2), kQuietHighlight), 100);
  EXPECT_EQ(unfocused.CountColour(focus_line, focus_line + 1, inverted), 0);

  // Moving down the items moves the tint with the current row.
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);
  SetFocus(tree_);
  PumpPending();
  items = TakePicture(item_grid_);
  EXPECT_EQ(items.CountColour(RowTop(1), RowTop(2), kCurrentItemTint), 0);
  EXPECT_GT(items.CountColour(RowTop(2), RowTop(3), kCurrentItemTint), 100);
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"current.bmp"));
}

// The demo database with item 01's 津贴起点 too wide for its 80-pixel cells
// for vehicle types 02 and 03, in every digit different.
class EditorScreenWideNumbers : public EditorScreen {
 protected:
  std::u16string MakeDatabase() override {
    const std::u16string database = MakeDemoDatabase(u"wide.db");
    if (database.empty() || !ExecuteOn(database, {u"update tbdyjtxmlb set f_jtqd=123456789012 "
                                                  u"where f_jtxmbm='01' and f_cxbm='02'",
                                                  u"update tbdyjtxmlb set f_jtqd=987654321098.76 "
                                                  u"where f_jtxmbm='01' and f_cxbm='03'"})) {
      return u"";
    }
    return database;
  }
};

// The tool tip this thread shows, if any.
HWND ShownTip() { return ShownThreadWindow(TOOLTIPS_CLASSW); }

// Resting the mouse on a tool button shows what it does and its key.
TEST_F(EditorScreen, AToolButtonsTipSaysWhatItDoesAndItsKey) {
  SetFocus(tree_);
  const RECT button = ToolButtonRect(editor_, L"保存");
  ASSERT_FALSE(IsRectEmpty(&button));
  HWND bar = FindDescendant(editor_, L"TarnvexToolBar");
  MoveMouseTo(bar, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
  ASSERT_TRUE(PumpUntil([] { return ShownTip() != nullptr; }, 5000)) << "no tool tip shows";
  EXPECT_EQ(WindowText(ShownTip()), L"保存所有修改 (Ctrl+S)");
  RECT area{};
  GetWindowRect(bar, &area);
  RECT tip_place{};
  GetWindowRect(ShownTip(), &tip_place);
  UnionRect(&area, &area, &tip_place);
  EXPECT_TRUE(SavePicture(TakeScreenPicture(area), Wide(ScratchFolder()) + L"save_tip.bmp"));
  MoveMouseTo(tree_, {2, 2});
}

// A number too wide for its cell shows as "###", as many '#' as fit, never
// cut to its last digits: two such cells whose numbers differ in every
// digit look the same. Resting the mouse on one shows its whole number in a
// tool tip; a cell whose number fits has none. Its EDIT, once current, holds
// the whole number.
TEST_F(EditorScreenWideNumbers, ANumberTooWideForItsCellShowsHashesAndItsTipTheWholeNumber) {
  SetFocus(tree_);
  PumpPending();
  const Picture picture = TakePicture(type_grid_);
  auto cell_pixels = [&](int row) {
    std::vector<COLORREF> pixels;
    for (int y = RowTop(row); y < RowTop(row) + kRowPitch - 1; ++y) {
      for (int x = 139; x < 139 + 80; ++x) pixels.push_back(picture.Pixel(x, y));
    }
    return pixels;
  };
  EXPECT_EQ(cell_pixels(2), cell_pixels(3)) << "digits of the numbers are drawn";
  EXPECT_NE(cell_pixels(1), cell_pixels(2)) << "10.00 fits and is drawn";
  // The ink spans the cell: as many '#' as fit in its 76 pixels of text.
  HWND edit = FindWindowExW(type_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SIZE hash{};
  GetTextExtentPoint32W(dc, L"#", 1, &hash);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int leftmost = -1;
  for (int x = 139; x < 139 + 80 && leftmost < 0; ++x) {
    for (int y = RowTop(2); y < RowTop(2) + kRowPitch - 1; ++y) {
      if (picture.Brightness(x, y) < kInkBrightness) leftmost = x;
    }
  }
  ASSERT_GE(leftmost, 0) << "the cell shows nothing";
  EXPECT_GE(leftmost, 139 + 2);
  EXPECT_LE(leftmost, 139 + 2 + hash.cx) << "fewer '#' than fit";
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"hashes.bmp"));

  MoveMouseTo(type_grid_, TypeGridCell(2, 2));
  ASSERT_TRUE(PumpUntil([] { return ShownTip() != nullptr; }, 5000)) << "no tool tip shows";
  HWND tip = ShownTip();
  EXPECT_EQ(WindowText(tip), L"123456789012.00");
  RECT area{};
  GetWindowRect(type_grid_, &area);
  RECT tip_place{};
  GetWindowRect(tip, &tip_place);
  UnionRect(&area, &area, &tip_place);
  EXPECT_TRUE(SavePicture(TakeScreenPicture(area), Wide(ScratchFolder()) + L"hashes_tip.bmp"));
  MoveMouseTo(type_grid_, TypeGridCell(2, 3));
  ASSERT_TRUE(PumpUntil(
      [] { return ShownTip() != nullptr && WindowText(ShownTip()) == L"987654321098.76"; }, 5000))
      << "the tip follows the mouse to the next such cell";
  MoveMouseTo(type_grid_, TypeGridCell(2, 1));
  EXPECT_FALSE(PumpUntil([] { return ShownTip() != nullptr; }, 2000))
      << "a tip over a number that fits";

  ClickAt(type_grid_, TypeGridCell(2, 2));
  PressKey(VK_F2);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"123456789012.00"));
  EXPECT_TRUE(watcher_.boxes().empty());
}

}  // namespace
}  // namespace tarnvex::testing
