// An item's name edited inside its cell as in any text box: the caret put by
// the mouse and moved by keys, a selection drawn and replaced, the name's
// limit of 30 bytes, and control characters of a paste kept out.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "widgets/win32/wide_text.h"
#include "wine/beep_counter.h"
#include "wine/clipboard.h"
#include "wine/editor_screen.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

TEST_F(EditorScreen, ControlCharactersPastedIntoANameCellNeverReachTheDatabase) {
  ClickAt(item_grid_, NameCell(1));
  ASSERT_TRUE(PutOnClipboard(top_.handle(), L"配送\x16津贴\x01\r\n"));
  PressKey('V', /*ctrl=*/true);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"配送津贴")) << "a cell just entered is replaced";
  // With the caret in the text (at its end), a paste goes in at the caret.
  PressKey(VK_F2);
  PressKey(VK_INSERT, /*ctrl=*/false, /*shift=*/true);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"配送津贴配送津贴"));
  PressKey('A', /*ctrl=*/true);
  PressKey('C', /*ctrl=*/true);
  EXPECT_EQ(ClipboardText(), L"配送津贴配送津贴");

  // A parameter that is not a number: refused whole, naming the cell.
  GoToFirstAllowance();
  const std::optional<std::wstring> before = EditText(type_grid_);
  ASSERT_TRUE(PutOnClipboard(top_.handle(), L"-5"));
  PressKey('V', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::wstring>{
                L"粘贴被取消：项目编码“01”车型编码“01”的“津贴起点”只能输入数字和小数点：“-5”"}));
  EXPECT_EQ(EditText(type_grid_), before);

  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'"),
            FieldValue(std::string("配送津贴配送津贴")));
}

// An item's name takes 30 bytes: typed, the 31st beeps and is not taken;
// pasted, a name of 31 bytes is refused whole with a box that says so.
TEST_F(EditorScreen, ANameOfMoreThanThirtyBytesIsNeitherTypedNorPasted) {
  BeepCounter beeps(GetModuleHandleW(L"SubsidySet.dll"));
  ASSERT_TRUE(beeps.ready());
  const std::wstring thirty_bytes = L"一二三四五六七八九十甲乙丙丁戊";
  ClickAt(item_grid_, NameCell(1));
  TypeText(thirty_bytes);
  EXPECT_EQ(beeps.beeps(), 0);
  TypeText(L"x");
  EXPECT_EQ(EditText(item_grid_), thirty_bytes) << "the 31st byte is not taken";
  EXPECT_EQ(beeps.beeps(), 1);
  EXPECT_TRUE(watcher_.boxes().empty());

  ClickAt(item_grid_, NameCell(2));
  const std::optional<std::wstring> before = EditText(item_grid_);
  ASSERT_TRUE(PutOnClipboard(top_.handle(), thirty_bytes + L"x"));
  PressKey('V', /*ctrl=*/true);
  ASSERT_EQ(watcher_.boxes().size(), 1u);
  EXPECT_NE(watcher_.boxes()[0].text.find(L"超过了30个字节"), std::wstring::npos);
  EXPECT_EQ(EditText(item_grid_), before) << "nothing of it is taken";

  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(watcher_.boxes().back().text, L"保存成功");
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'"),
            FieldValue(FromWide(thirty_bytes)));
}

TEST_F(EditorScreen, ANameIsEditedInsideItsCellByClickF2ArrowsHomeEndAndDelete) {
  const FieldValue loaded = ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'");
  const std::wstring name = ToWide(std::get<std::string>(loaded));
  ASSERT_GE(name.size(), 3u);
  ClickAt(item_grid_, NameCell(1));
  HWND edit = FindWindowExW(item_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  // A second click lands in the text at its left: the caret goes before it.
  ClickAt(item_grid_, {kNameLeft + 4, kRowPitch + kRowPitch / 2});
  EXPECT_EQ(EditSelection(edit), (std::pair<DWORD, DWORD>{0, 0}));
  PressKey(VK_DELETE);
  TypeText(L"新");
  PressKey(VK_END);
  PressKey(VK_LEFT);
  TypeText(L"乙");
  std::wstring want = L"新" + name.substr(1, name.size() - 2) + L"乙" + name.back();
  EXPECT_EQ(EditText(item_grid_), want);
  PressKey(VK_HOME);
  PressKey(VK_RIGHT, /*ctrl=*/false, /*shift=*/true);
  PressKey(VK_RIGHT, /*ctrl=*/false, /*shift=*/true);
  EXPECT_EQ(EditSelection(edit), (std::pair<DWORD, DWORD>{0, 2}));
  // The selection is drawn highlighted in a cell that keeps its own colours.
  PumpPending();
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  Picture picture = TakePicture(edit);
  const int selected = picture.CountColour(0, picture.height(), highlight);
  EXPECT_GT(selected, 20);
  EXPECT_LT(selected, picture.width() * picture.height() / 2) << "only the selection";
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"caret.bmp"));
  TypeText(L"甲");
  want = L"甲" + want.substr(2);
  EXPECT_EQ(EditText(item_grid_), want);
  // Esc puts back what the cell had before the edit; F2 starts another.
  PressKey(VK_ESCAPE);
  EXPECT_EQ(EditText(item_grid_), name);
  PressKey(VK_F2);
  PressKey(VK_HOME);
  PressKey(VK_DELETE);
  TypeText(L"甲");
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT, /*ctrl=*/false, /*shift=*/true);
  PressKey(VK_DELETE);
  PressKey('Z', /*ctrl=*/true);  // the Delete taken back
  PressKey(VK_END);
  PressKey(VK_RIGHT);  // at the end: on to the category
  want = L"甲" + name.substr(1);
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'"),
            FieldValue(FromWide(want)));
}

TEST_F(EditorScreen, ADragAcrossANameSelectsPartOfItAndTypingReplacesThatPart) {
  const FieldValue loaded = ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='02'");
  const std::wstring name = ToWide(std::get<std::string>(loaded));
  const int middle = RowTop(2) + kRowPitch / 2;
  ClickAt(item_grid_, NameCell(2));
  HWND edit = FindWindowExW(item_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  DragAt(item_grid_, {kNameLeft + 4, middle}, {kNameLeft + 4 + 30, middle});
  const auto [start, end] = EditSelection(edit);
  EXPECT_EQ(start, 0u);
  ASSERT_GT(end, 0u);
  ASSERT_LT(end, name.size());
  TypeText(L"甲");
  const std::wstring want = L"甲" + name.substr(end);
  EXPECT_EQ(EditText(item_grid_), want);
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='02'"),
            FieldValue(FromWide(want)));
}

}  // namespace
}  // namespace tarnvex::testing
