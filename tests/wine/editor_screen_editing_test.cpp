// Values typed into the cells of both grids: their key filters, the check of
// a parameter as its cell is left, a new item typed under the last one, a
// measure flag that shows its columns, and the saves that write them.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "wine/editor_screen.h"
#include "wine/operator_input.h"
#include "wine/window_creations.h"

namespace tarnvex::testing {
namespace {

TEST_F(EditorScreen, ATypedParameterIsSavedByCtrlSAndReadBackFromTheDatabase) {
  GoToFirstAllowance();
  TypeText(L"12.5x");  // the parameter's key filter drops the letter
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"12.5"));

  WindowCreations created;
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  EXPECT_TRUE(created.Created(L"TarnvexBusyWindow")) << "the busy window shows during the save";
  EXPECT_TRUE(created.Created(L"SysAnimate32"));
  EXPECT_EQ(ReadBack(kFirstAllowance), FieldValue(12.5));
}

// A parameter is checked as its cell is left: 1.2.3 is refused by Enter and
// by a click on another cell with a box naming the cell, and stays where it
// was typed, selected, for the operator to mend; refresh answered No puts
// back what the database holds. A number that is taken shows in "0.00".
TEST_F(EditorScreen, AParameterThatIsNotANumberIsRefusedWhereItIsTyped) {
  GoToFirstAllowance();
  HWND edit = FindWindowExW(type_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  RECT cell{};
  GetWindowRect(edit, &cell);
  TypeText(L"1.2.3");
  const std::wstring refused = L"项目编码“01”车型编码“01”的“津贴起点”不是数字：“1.2.3”";
  const auto stays_refused = [&](const char* how) {
    SCOPED_TRACE(how);
    ASSERT_FALSE(watcher_.boxes().empty());
    EXPECT_EQ(watcher_.boxes().back().caption, L"提示");
    EXPECT_EQ(watcher_.boxes().back().text, refused);
    EXPECT_EQ(GetFocus(), edit) << "the keys are back in the cell";
    RECT now{};
    GetWindowRect(edit, &now);
    EXPECT_TRUE(EqualRect(&now, &cell)) << "the cell stays current";
    EXPECT_EQ(EditText(type_grid_), std::wstring(L"1.2.3"));
    EXPECT_EQ(EditSelection(edit), (std::pair<DWORD, DWORD>{0, 5})) << "the text is selected";
  };
  PressKey(VK_RETURN);
  stays_refused("Enter");
  ClickAt(type_grid_, TypeGridCell(3, 2));
  stays_refused("a click on another cell");
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{refused, refused}));

  watcher_.Answer(L"数据已修改,是否保存?", IDNO);
  PressKey('R', /*ctrl=*/true);
  GoToFirstAllowance();
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  EXPECT_EQ(ReadBack(kFirstAllowance), FieldValue(10.0));

  TypeText(L"12.5");
  PressKey(VK_RETURN);
  PressKey(VK_LEFT);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"12.50"));
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{refused, refused, L"数据已修改,是否保存?"}));
}

TEST_F(EditorScreen, ChineseTypedIntoTheItemNameIsSavedByTheToolBarButton) {
  ClickAt(item_grid_, NameCell(1));
  TypeText(L"整件配送津贴");
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"整件配送津贴"));

  // Separator, 增加, 删行, then 保存.
  ClickToolButton(L"保存");
  ASSERT_EQ(watcher_.boxes().size(), 2u);
  EXPECT_EQ(watcher_.boxes()[1].text, L"保存成功");
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'"),
            FieldValue(std::string("整件配送津贴")));
  EXPECT_NE(FindTreeItem(L"01 整件配送津贴"), nullptr) << "the tree is built again after a save";
}

// A code typed under the last item and left with the mouse, then a name and
// a category: the save makes the item, and the database has it with its
// parameter rows.
TEST_F(EditorScreen, ARowTypedAndLeftWithTheMouseIsSavedAndReadBack) {
  TypeCodeOnANewRow(L"41");
  ClickAt(item_grid_, NameCell(2));  // its name, by the mouse
  TypeText(L"鼠标离开");
  PressKey(VK_RIGHT);  // on to its category
  TypeText(L"计时");
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='41'"),
            FieldValue(std::string("鼠标离开")));
  EXPECT_EQ(ReadBack(u"select f_lb from tbdyjtxmda where f_jtxmbm='41'"),
            FieldValue(std::string("计时")));
  EXPECT_EQ(ReadBack(u"select count(*) from tbdyjtxmlb where f_jtxmbm='41'"), FieldValue(7.0));
}

// Space on the 计程 flag of item 01, which measures by piece only, shows the
// four distance columns at once: fourteen steps right from the first column
// of the vehicle-type grid then end on 配送津贴 (1.50) rather than on the last
// column, 津贴限额 (160.00). A second Space hides them again.
TEST_F(EditorScreen, SpaceOnAMeasureFlagShowsItsColumnsInTheVehicleGrid) {
  auto after_fourteen_steps = [&] {
    ClickFirstCell(type_grid_);
    for (int i = 0; i < 14; ++i) PressKey(VK_RIGHT);
    return EditText(type_grid_);
  };
  auto space_on_distance_flag = [&] {
    // From 类别, which is never the current cell here: a click into the
    // current cell would put the caret into its text, and Right would move
    // the caret first.
    ClickAt(item_grid_, CategoryCell(1));
    for (int i = 0; i < 2; ++i) PressKey(VK_RIGHT);  // 计件, 计程
    PressKey(VK_SPACE);
  };
  EXPECT_EQ(after_fourteen_steps(), std::wstring(L"160.00"));
  space_on_distance_flag();
  EXPECT_EQ(after_fourteen_steps(), std::wstring(L"1.50"));
  space_on_distance_flag();
  EXPECT_EQ(after_fourteen_steps(), std::wstring(L"160.00"));
  EXPECT_TRUE(watcher_.boxes().empty());
}

}  // namespace
}  // namespace tarnvex::testing
