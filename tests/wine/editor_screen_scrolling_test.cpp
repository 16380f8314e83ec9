// The grids scrolled: the vehicle grid sideways with its code and name in
// place, by keys, by its arrows and by its thumb, and the item grid far down
// a large database, its current row kept in sight by a reload.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "wine/editor_screen.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

SCROLLINFO ScrollPosition(HWND window, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window, bar, &info);
  return info;
}

bool HasHorizontalBar(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_HSCROLL) != 0; }

// Drags a scroll bar's thumb with the mouse: pressed on its middle, moved by
// the distance given along the bar but not past its ends, released there.
void DragThumb(HWND window, LONG bar_object, int distance) {
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetScrollBarInfo(window, bar_object, &bar));
  const int middle = (bar.xyThumbTop + bar.xyThumbBottom) / 2;
  const bool horizontal = bar_object == OBJID_HSCROLL;
  POINT from =
      horizontal
          ? POINT{bar.rcScrollBar.left + middle, (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2}
          : POINT{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.top + middle};
  POINT to = from;
  if (horizontal) {
    to.x = std::clamp<LONG>(from.x + distance, bar.rcScrollBar.left, bar.rcScrollBar.right - 1);
  } else {
    to.y = std::clamp<LONG>(from.y + distance, bar.rcScrollBar.top, bar.rcScrollBar.bottom - 1);
  }
  ScreenToClient(window, &from);
  ScreenToClient(window, &to);
  DragInOneGo(window, from, to);
}

// The vehicle grid's columns are wider than the window: a horizontal bar
// scrolls all but the code and name, by keys, by its arrows and by its thumb.
TEST_F(EditorScreen, TheVehicleGridScrollsSidewaysWithCodeAndNameInPlace) {
  ASSERT_TRUE(HasHorizontalBar(type_grid_));
  EXPECT_EQ(ScrollPosition(type_grid_, SB_HORZ).nPos, 0);
  SetFocus(tree_);
  PumpPending();
  const Picture before = TakePicture(type_grid_);

  ClickFirstCell(type_grid_);
  for (int i = 0; i < 40; ++i) PressKey(VK_RIGHT);
  const int far_right = ScrollPosition(type_grid_, SB_HORZ).nPos;
  EXPECT_GT(far_right, 0) << "the last column was brought into view";
  SetFocus(tree_);
  PumpPending();
  const Picture after = TakePicture(type_grid_);
  // The code and name columns look the same: only the first row's current
  // cell moved away from them.
  int changed = 0;
  // Rows 2 to 7, the last vehicle type's; below them lies the scroll bar.
  for (int y = RowTop(2); y < RowTop(8); ++y) {
    for (int x = 0; x < 60; ++x) changed += before.Pixel(x, y) != after.Pixel(x, y) ? 1 : 0;
  }
  EXPECT_EQ(changed, 0);
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"scrolled.bmp"));

  // The left arrow of the bar, clicked with the mouse.
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetScrollBarInfo(type_grid_, OBJID_HSCROLL, &bar));
  POINT arrow{bar.rcScrollBar.left + bar.dxyLineButton / 2,
              (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2};
  ScreenToClient(type_grid_, &arrow);
  ClickAt(type_grid_, arrow);
  EXPECT_LT(ScrollPosition(type_grid_, SB_HORZ).nPos, far_right);

  // Another item's parameters start at the left.
  ClickFirstCell(type_grid_);
  for (int i = 0; i < 40; ++i) PressKey(VK_RIGHT);
  ASSERT_GT(ScrollPosition(type_grid_, SB_HORZ).nPos, 0);
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);
  EXPECT_EQ(ScrollPosition(type_grid_, SB_HORZ).nPos, 0);
  EXPECT_TRUE(watcher_.boxes().empty());
}

// The horizontal bar's thumb dragged with the mouse scrolls the columns after
// the code and name, which stay where they are.
TEST_F(EditorScreen, DraggingTheHorizontalThumbScrollsAllButCodeAndName) {
  ASSERT_TRUE(HasHorizontalBar(type_grid_));
  SetFocus(tree_);
  PumpPending();
  const Picture before = TakePicture(type_grid_);
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetScrollBarInfo(type_grid_, OBJID_HSCROLL, &bar));
  const int thumb_before = bar.xyThumbTop;

  DragThumb(type_grid_, OBJID_HSCROLL, 150);
  const int scrolled = ScrollPosition(type_grid_, SB_HORZ).nPos;
  EXPECT_GT(scrolled, 0) << "the thumb drag scrolled the columns";
  ASSERT_TRUE(GetScrollBarInfo(type_grid_, OBJID_HSCROLL, &bar));
  EXPECT_GT(bar.xyThumbTop, thumb_before) << "the thumb stayed where it was dropped";
  SetFocus(tree_);
  PumpPending();
  const Picture after = TakePicture(type_grid_);
  // Code (64) and name (73) with their grid lines keep every pixel; the
  // scrolling columns beside them show other columns.
  constexpr int kFrozenWidth = 64 + 1 + 73 + 1;
  int frozen_changed = 0;
  int scrolling_changed = 0;
  for (int y = 0; y < RowTop(8); ++y) {
    for (int x = 0; x < after.width(); ++x) {
      const bool changed = before.Pixel(x, y) != after.Pixel(x, y);
      (x < kFrozenWidth ? frozen_changed : scrolling_changed) += changed ? 1 : 0;
    }
  }
  EXPECT_EQ(frozen_changed, 0);
  EXPECT_GT(scrolling_changed, 1000);
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"thumb.bmp"));

  // Dragged back to the left end, the columns are where they started.
  DragThumb(type_grid_, OBJID_HSCROLL, -1000);
  EXPECT_EQ(ScrollPosition(type_grid_, SB_HORZ).nPos, 0);
  EXPECT_TRUE(watcher_.boxes().empty());
}

// Far down the items, chosen after a drag of the vertical thumb, then a
// reload: the current item's row is on screen, tinted, and the vehicle grid
// shows that item's parameters. Each item's first parameter of vehicle type
// 000 is its number plus one, so the grid says which item it shows.
TEST_F(EditorScreenLarge, AReloadKeepsTheCurrentItemRowInSight) {
  ASSERT_TRUE(
      Execute({u"update tbdyjtxmlb set f_jtqd = cast(f_jtxmbm as integer) + 1 "
               u"where f_cxbm = '000'"}));
  SetFocus(tree_);
  PressKey('R', /*ctrl=*/true);
  const auto first_parameter = [&] {
    GoToFirstAllowance();
    return EditText(type_grid_);
  };
  // The tinted row on screen (1 first below the header), 0 when none is.
  const auto tinted_row = [&] {
    PumpPending();
    const Picture items = TakePicture(item_grid_);
    for (int row = 1; RowTop(row + 1) <= items.height(); ++row) {
      if (items.CountColour(RowTop(row), RowTop(row + 1), kCurrentItemTint) > 100) return row;
    }
    return 0;
  };

  DragThumb(item_grid_, OBJID_VSCROLL, 2000);
  const int top = ScrollPosition(item_grid_, SB_VERT).nPos;
  ASSERT_GT(top, 900) << "the thumb drag scrolled the items to their end";
  ClickAt(item_grid_, {8, RowTop(3) + kRowPitch / 2});
  ASSERT_EQ(tinted_row(), 3);
  // Row top + 2 holds item number top + 1.
  EXPECT_EQ(first_parameter(), std::to_wstring(top + 2) + L".00");

  PressKey('R', /*ctrl=*/true);
  const int row_on_screen = tinted_row();
  ASSERT_GT(row_on_screen, 0) << "the current item's row is out of sight";
  const int current = ScrollPosition(item_grid_, SB_VERT).nPos + row_on_screen - 1;
  EXPECT_EQ(first_parameter(), std::to_wstring(current) + L".00");
  EXPECT_TRUE(watcher_.boxes().empty());
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"reloaded.bmp"));
}

}  // namespace
}  // namespace tarnvex::testing
