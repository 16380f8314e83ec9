// Where the keys go: round the tree and both grids by Tab, and back to
// where they were after a save's boxes, the shortcut guide and the add
// dialog.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "wine/add_dialog_timers.h"
#include "wine/editor_screen.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/window_creations.h"

namespace tarnvex::testing {
namespace {

// After the boxes of a save the keyboard is where it was: typing and Ctrl+S
// reach the editor again without a click.
TEST_F(EditorScreen, TheKeyboardWorksRightAfterTheBoxesOfASave) {
  GoToFirstAllowance();
  TypeText(L"31");
  PressKey('S', /*ctrl=*/true);
  ASSERT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  EXPECT_TRUE(FocusIn(type_grid_)) << "the focus went back to the grid";

  TypeText(L"32");
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"32"));
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts().size(), 4u);
  EXPECT_EQ(ReadBack(kFirstAllowance), FieldValue(32.0));
}

// Runs inside the shortcut guide's modal loop once it is up: Esc closes it.
void CALLBACK CloseTheGuideWithEsc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PressKey(VK_ESCAPE);
}

// After the guide the keys go to the cell they went to before: the arrow
// moves on from it.
TEST_F(EditorScreen, AfterTheGuideTheKeysReachTheCellThatHadThem) {
  GoToFirstAllowance();
  ASSERT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  WindowCreations created;
  SetTimer(nullptr, 0, 1, CloseTheGuideWithEsc);
  PressKey(VK_F1);
  ASSERT_TRUE(created.Created(L"TarnvexTextPopup"));
  ASSERT_EQ(FindWindowW(L"TarnvexTextPopup", nullptr), nullptr);
  EXPECT_TRUE(FocusIn(type_grid_)) << "the focus is on the cell";
  PressKey(VK_RIGHT);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"60.00"));
  TypeText(L"61");
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"61"));
  EXPECT_TRUE(IsWindow(editor_)) << "the Esc closed the guide, not the editor";
}

// After the add dialog, cancelled or confirmed, and after a save with its
// busy window, the tree has the keys again: Down moves its selection.
TEST_F(EditorScreen, AfterTheAddDialogAndASaveTheKeysReachTheTree) {
  struct Case {
    const char* popup;
    std::function<void()> open;
  };
  const Case cases[] = {
      {"add dialog cancelled",
       [&] {
         SetTimer(nullptr, 0, 1, CancelTheAddDialog);
         ClickToolButton(L"增加");
       }},
      {"add dialog confirmed",
       [&] {
         SetTimer(nullptr, 0, 1, FillInTheAddDialog);
         ClickToolButton(L"增加");
       }},
      {"save", [&] { PressKey('S', /*ctrl=*/true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.popup);
    SetFocus(tree_);
    PumpPending();
    c.open();
    ASSERT_EQ(FindWindowW(L"TarnvexDialog", nullptr), nullptr);
    ASSERT_EQ(FindWindowW(L"TarnvexBusyWindow", nullptr), nullptr);
    EXPECT_EQ(GetFocus(), tree_);
    HTREEITEM next = TreeView_GetNextVisible(tree_, TreeView_GetSelection(tree_));
    ASSERT_NE(next, nullptr) << "Down must have somewhere to go";
    PressKey(VK_DOWN);
    EXPECT_EQ(TreeView_GetSelection(tree_), next);
  }
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
}

// Tab and Shift+Tab take the focus round the tree, the item grid and the
// vehicle-type grid, from wherever the mouse put it; Tab is no cell move.
TEST_F(EditorScreen, TabAndShiftTabMoveTheFocusBetweenTheTreeAndTheGrids) {
  ASSERT_EQ(GetFocus(), tree_);
  struct Step {
    bool shift;
    HWND window;
  };
  const Step steps[] = {
      {false, item_grid_}, {false, type_grid_}, {false, tree_},
      {true, type_grid_},  {true, item_grid_},  {true, tree_},
  };
  for (const Step& step : steps) {
    PressKey(VK_TAB, /*ctrl=*/false, step.shift);
    EXPECT_TRUE(FocusIn(step.window))
        << (step.shift ? "Shift+Tab" : "Tab") << " to " << step.window;
  }

  GoToFirstAllowance();
  PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), tree_) << "Tab goes on from where the mouse put the focus";
  PressKey(VK_TAB, /*ctrl=*/false, /*shift=*/true);
  EXPECT_TRUE(FocusIn(type_grid_));
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00")) << "the cell stayed where it was";
  PressKey(VK_RIGHT);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"60.00"));
  EXPECT_TRUE(watcher_.boxes().empty());
}

}  // namespace
}  // namespace tarnvex::testing
