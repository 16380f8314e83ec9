// The editor as it starts on the demo database, and choosing in its tree and
// moving between rows, which refill both grids. A screenshot of the editor as
// it starts is kept for the record.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <optional>
#include <utility>
#include <vector>

#include "wine/editor_screen.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

TEST_F(EditorScreen, StartUpShowsTheTreeExpandedAndBothGridsFilled) {
  const auto items = TreeItems();
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front(), std::make_pair(0, std::wstring(L"所有类别")));
  // The root, the five categories in ascending order, the twelve items.
  const std::vector<std::wstring> categories = TreeCategories();
  EXPECT_EQ(categories.size(), 5u);
  EXPECT_TRUE(std::is_sorted(categories.begin(), categories.end()));
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const auto& i) { return i.first == 2; }),
            12);
  HTREEITEM item = FindTreeItem(L"09 市内里程补助");
  ASSERT_NE(item, nullptr);
  RECT rect{};
  EXPECT_TRUE(TreeView_GetItemRect(tree_, item, &rect, TRUE)) << "items are shown expanded";
  EXPECT_EQ(TreeView_GetSelection(tree_), TreeView_GetRoot(tree_));
  EXPECT_EQ(GetFocus(), tree_);

  // The item grid shows all items, the first current; the vehicle-type grid
  // shows its parameters, the code column read-only.
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"01"));
  EXPECT_EQ(EditText(type_grid_), std::nullopt);
  GoToFirstAllowance();
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  EXPECT_TRUE(watcher_.boxes().empty());

  // Kept for the record of how the editor looks.
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"editor.bmp"));
}

TEST_F(EditorScreen, ChoosingACategoryAndMovingDownRefillsBothGrids) {
  HTREEITEM category = FindTreeItem(L"计程");
  ASSERT_NE(category, nullptr);
  ClickTreeItem(category);
  EXPECT_EQ(TreeView_GetSelection(tree_), category);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"09"));

  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"10"));

  // Item 10 counts by distance: the distance columns are shown, the piece
  // columns hidden and skipped, so the third step right reaches 里程起点.
  ClickFirstCell(type_grid_);
  for (int i = 0; i < 3; ++i) PressKey(VK_RIGHT);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"50.00"));
  EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(EditorScreen, ChoosingAnItemShowsOnlyThatItemAndArrowDownAddsAnEmptyRow) {
  HTREEITEM item = FindTreeItem(L"07 夜班出车补助");
  ASSERT_NE(item, nullptr);
  ClickTreeItem(item);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"07"));
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"")) << "the new row under the only item";
  PressKey(VK_UP);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"07"));
}

}  // namespace
}  // namespace tarnvex::testing
