// The list that the item grid's category cell drops down: where it shows,
// what it offers and picks, by the mouse and by keys, and how it closes.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "widgets/win32/wide_text.h"
#include "wine/editor_screen.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

// The list a grid's cell dropped down, while one shows: a popup list box of
// this thread's.
HWND ShownPickList() { return ShownThreadWindow(L"ListBox"); }

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring item(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    items.push_back(item);
  }
  return items;
}

int ListChoice(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

// Clicks an item of a shown list.
void ClickListItem(HWND list, const std::wstring& item) {
  const auto index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(item.c_str()));
  ASSERT_NE(index, LB_ERR) << "the list has no such item";
  RECT rect{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  ClickAt(list, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// The category of a row typed under the last item comes from the list its
// cell drops down: by the drop button and a click on an item, then by keys
// alone (Alt+Down, Down, Enter); both are saved. The list shows directly
// below the cell, owned by the host's window, while the keys stay in the
// grid.
TEST_F(EditorScreen, ATypedRowsCategoryIsPickedFromTheListItsCellDropsDown) {
  TypeCodeOnANewRow(L"41");
  ClickAt(item_grid_, CategoryCell(2));
  EXPECT_EQ(ShownPickList(), nullptr) << "a click beside the button only makes the cell current";

  ClickAt(item_grid_, DropButton(2));
  HWND list = ShownPickList();
  ASSERT_NE(list, nullptr) << "the drop button shows the list";
  RECT cell{kCategoryLeft, RowTop(2), kCategoryLeft + kCategoryWidth, RowTop(2) + kRowPitch - 1};
  MapWindowPoints(item_grid_, nullptr, reinterpret_cast<POINT*>(&cell), 2);
  RECT placed{};
  GetWindowRect(list, &placed);
  EXPECT_EQ(placed.left, cell.left);
  EXPECT_EQ(placed.top, cell.bottom + 1) << "below the cell's grid line";
  EXPECT_GE(placed.right - placed.left, kCategoryWidth);
  EXPECT_EQ(GetWindow(list, GW_OWNER), top_.handle());
  HWND edit = FindWindowExW(item_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(SendMessageW(list, WM_GETFONT, 0, 0), SendMessageW(edit, WM_GETFONT, 0, 0))
      << "the items in the cells' font";
  EXPECT_TRUE(FocusIn(item_grid_)) << "the list takes no focus";
  EXPECT_EQ(GetForegroundWindow(), top_.handle()) << "nor the activation";
  // The tree's categories in its order; the fixed ones are all among them.
  const std::vector<std::wstring> items = ListItems(list);
  EXPECT_EQ(items, TreeCategories());
  EXPECT_EQ(ListChoice(list), -1) << "the cell is empty";
  PumpPending();
  RECT shown{};
  GetWindowRect(item_grid_, &shown);
  shown.bottom = std::max(shown.bottom, placed.bottom + 4);
  EXPECT_TRUE(SavePicture(TakeScreenPicture(shown), Wide(ScratchFolder()) + L"pick_list.bmp"));

  ClickListItem(list, L"特殊");
  EXPECT_EQ(ShownPickList(), nullptr);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"特殊"));
  EXPECT_TRUE(FocusIn(item_grid_));

  // Another row by keys alone.
  PressKey(VK_DOWN);
  PressKey(VK_LEFT);
  PressKey(VK_LEFT);
  TypeText(L"42");
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  PressAltKey(VK_DOWN);
  list = ShownPickList();
  ASSERT_NE(list, nullptr) << "Alt+Down shows the list";
  PressKey(VK_DOWN);
  EXPECT_EQ(ListChoice(list), 0);
  PressKey(VK_DOWN);
  EXPECT_EQ(ListChoice(list), 1) << "Down moves the list's choice, not the cell";
  PressKey(VK_RETURN);
  EXPECT_EQ(ShownPickList(), nullptr);
  EXPECT_EQ(EditText(item_grid_), items[1]) << "Enter in the list only picks";

  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  EXPECT_EQ(ReadBack(u"select f_lb from tbdyjtxmda where f_jtxmbm='41'"),
            FieldValue(std::string("特殊")));
  EXPECT_EQ(ReadBack(u"select f_lb from tbdyjtxmda where f_jtxmbm='42'"),
            FieldValue(FromWide(items[1])));
}

// A typed row without a category is not saved: the message says which row,
// and the keys are in that row's category cell, where typing goes on.
TEST_F(EditorScreen, ASaveStopsAtATypedRowWithoutACategoryWithTheFocusOnItsCell) {
  TypeCodeOnANewRow(L"43");
  PressKey(VK_RETURN);  // on to the name
  SetFocus(tree_);
  PressKey('S', /*ctrl=*/true);
  const std::wstring refused = L"第2行项目编码“43”没有类别,请先填写类别再保存。";
  ASSERT_FALSE(watcher_.boxes().empty());
  EXPECT_EQ(watcher_.boxes().back().text, refused);
  EXPECT_EQ(ReadBack(u"select count(*) from tbdyjtxmda where f_jtxmbm='43'"), FieldValue(0.0));
  HWND edit = FindWindowExW(item_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetFocus(), edit) << "the keys are in the item grid";
  RECT on{};
  GetWindowRect(edit, &on);
  MapWindowPoints(nullptr, item_grid_, reinterpret_cast<POINT*>(&on), 2);
  EXPECT_GE(on.left, kCategoryLeft) << "over the category cell";
  EXPECT_LE(on.right, kCategoryLeft + kCategoryWidth);
  EXPECT_GE(on.top, RowTop(2));
  EXPECT_LE(on.bottom, RowTop(3));

  PressAltKey(VK_DOWN);
  ASSERT_NE(ShownPickList(), nullptr);
  ClickListItem(ShownPickList(), L"计时");
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(watcher_.boxes().back().text, L"保存成功");
  EXPECT_EQ(ReadBack(u"select f_lb from tbdyjtxmda where f_jtxmbm='43'"),
            FieldValue(std::string("计时")));
}

// An item's category changed through the list (chosen there as the cell's
// text) and saved moves the item in the tree to its new category.
TEST_F(EditorScreen, AnItemsCategoryChangedThroughTheListMovesItInTheTreeAfterTheSave) {
  ClickAt(item_grid_, CategoryCell(1));
  PressAltKey(VK_DOWN);
  HWND list = ShownPickList();
  ASSERT_NE(list, nullptr);
  const std::vector<std::wstring> items = ListItems(list);
  const auto chosen = std::find(items.begin(), items.end(), L"计件");
  ASSERT_NE(chosen, items.end());
  EXPECT_EQ(ListChoice(list), chosen - items.begin()) << "the cell's own category is chosen";
  // Beside the drop button the cell's EDIT still shows its text whole, from
  // its first character.
  HWND edit = FindWindowExW(item_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  PumpPending();
  RECT shown{};
  GetWindowRect(item_grid_, &shown);
  RECT placed{};
  GetWindowRect(list, &placed);
  shown.bottom = std::max(shown.bottom, placed.bottom + 4);
  EXPECT_TRUE(SavePicture(TakeScreenPicture(shown), Wide(ScratchFolder()) + L"pick_chosen.bmp"));
  // The chosen item in the list's highlight.
  const Picture picture = TakeScreenPicture(placed);
  RECT chosen_rect{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(chosen - items.begin()),
               reinterpret_cast<LPARAM>(&chosen_rect));
  const int border = GetSystemMetrics(SM_CYBORDER);
  EXPECT_GT(picture.CountColour(chosen_rect.top + border, chosen_rect.bottom + border,
                                GetSysColor(COLOR_HIGHLIGHT)),
            100);

  ClickListItem(list, L"特殊");
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"特殊"));
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  EXPECT_EQ(ReadBack(u"select f_lb from tbdyjtxmda where f_jtxmbm='01'"),
            FieldValue(std::string("特殊")));
  HTREEITEM moved = FindTreeItem(L"01 整件配送补助");
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(ParentText(moved), L"特殊");
}

// Where the screen ends below the cell, the list opens above it.
TEST_F(EditorScreen, NearTheScreensBottomTheListOpensAboveItsCell) {
  RECT cell{kCategoryLeft, RowTop(1), kCategoryLeft + kCategoryWidth, RowTop(1) + kRowPitch - 1};
  MapWindowPoints(item_grid_, nullptr, reinterpret_cast<POINT*>(&cell), 2);
  const int shift = GetSystemMetrics(SM_CYSCREEN) - 20 - cell.bottom;
  RECT place{};
  GetWindowRect(top_.handle(), &place);
  SetWindowPos(top_.handle(), nullptr, place.left, place.top + shift, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  OffsetRect(&cell, 0, shift);
  ClickAt(item_grid_, CategoryCell(1));
  PressAltKey(VK_DOWN);
  HWND list = ShownPickList();
  ASSERT_NE(list, nullptr);
  RECT placed{};
  GetWindowRect(list, &placed);
  EXPECT_EQ(placed.bottom, cell.top);
  EXPECT_EQ(placed.left, cell.left);
  PumpPending();
  RECT shown{placed.left - 200, placed.top - 4, placed.right + 200, cell.bottom + 4};
  EXPECT_TRUE(SavePicture(TakeScreenPicture(shown), Wide(ScratchFolder()) + L"pick_above.bmp"));
}

// The open list closes without taking its choice when the keys leave the
// grid (Tab), when the host's window moves, when its drop button is clicked
// again and when Esc is pressed, which is the list's and not the editor's
// exit; the keys are the grid's again afterwards.
TEST_F(EditorScreen, TheOpenListClosesWithoutTakingItsChoice) {
  ClickAt(item_grid_, CategoryCell(1));
  const auto open_and_move_down = [&] {
    PressAltKey(VK_DOWN);
    ASSERT_NE(ShownPickList(), nullptr);
    PressKey(VK_DOWN);
  };
  const auto closed_untaken = [&](const char* how) {
    SCOPED_TRACE(how);
    EXPECT_TRUE(PumpUntil([] { return ShownPickList() == nullptr; }));
    EXPECT_EQ(EditText(item_grid_), std::wstring(L"计件"));
    EXPECT_TRUE(IsWindow(editor_));
  };
  open_and_move_down();
  PressKey(VK_TAB);
  EXPECT_TRUE(FocusIn(type_grid_));
  closed_untaken("Tab");
  PressKey(VK_TAB, /*ctrl=*/false, /*shift=*/true);
  ASSERT_TRUE(FocusIn(item_grid_));

  open_and_move_down();
  RECT place{};
  GetWindowRect(top_.handle(), &place);
  SetWindowPos(top_.handle(), nullptr, place.left + 30, place.top + 20, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  closed_untaken("a move of the host's window");

  ClickAt(item_grid_, DropButton(1));
  ASSERT_NE(ShownPickList(), nullptr);
  PressKey(VK_DOWN);
  ClickAt(item_grid_, DropButton(1));
  closed_untaken("the drop button");

  open_and_move_down();
  PressKey(VK_ESCAPE);
  closed_untaken("Esc");
  PressKey(VK_DOWN);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"计件")) << "Down moves to item 02's category";
  EXPECT_TRUE(watcher_.boxes().empty());
}

}  // namespace
}  // namespace tarnvex::testing
