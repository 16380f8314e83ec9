// Delete, refresh and exit, by key and by tool bar button: what they ask
// before an unsaved edit is thrown away, what each answer does, and the
// column layouts that closing writes and the next start reads.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "wine/editor_screen.h"
#include "wine/scratch_folder.h"
#include "wine/window_picture.h"
#include "wine/host_process.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"

namespace tarnvex::testing {
namespace {

TEST_F(EditorScreen, CtrlDDeletesTheCurrentItemAfterYes) {
  ClickFirstCell(item_grid_);
  PressKey('D', /*ctrl=*/true);
  ASSERT_FALSE(watcher_.boxes().empty());
  EXPECT_EQ(watcher_.boxes()[0].text, L"确认要删除编码为01的津贴项目吗?");
  EXPECT_EQ(ReadBack(u"select count(*) from tbdyjtxmda where f_jtxmbm='01'"), FieldValue(0.0));
  EXPECT_EQ(FindTreeItem(L"01 整件配送补助"), nullptr);
  EXPECT_NE(FindTreeItem(L"02 分装拣货补助"), nullptr);
}

// After a save the operator is where they were: the category's node, the
// item, the vehicle type and the cell, with the focus, so that the next
// keys go on in that cell.
TEST_F(EditorScreen, AfterASaveTheNextKeysGoOnInTheSameCell) {
  ClickTreeItem(FindTreeItem(L"计件"));
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);  // item 02
  GoToFirstAllowance();
  PressKey(VK_DOWN);  // vehicle type 02
  const std::u16string cell = u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='02' and f_cxbm='02'";
  TypeText(L"31");
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(cell), FieldValue(31.0));
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  EXPECT_EQ(SelectedTreeText(), L"计件");
  EXPECT_TRUE(GetFocus() == type_grid_ || IsChild(type_grid_, GetFocus()));
  SaveWindowPicture(editor_, Wide(ScratchFolder()) + L"kept_after_save.bmp");

  TypeText(L"32");
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(cell), FieldValue(32.0));
}

// Ctrl+R with an unsaved edit asks first: Cancel keeps the edit where it
// is, No throws it away and shows what the database holds.
TEST_F(EditorScreen, CtrlRAsksBeforeItDiscardsAnEdit) {
  GoToFirstAllowance();
  TypeText(L"99");
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"99"));

  watcher_.Answer(L"数据已修改,是否保存?", IDCANCEL);
  PressKey('R', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"数据已修改,是否保存?"}));
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"99")) << "Cancel keeps the edit";

  watcher_.Answer(L"数据已修改,是否保存?", IDNO);
  PressKey('R', /*ctrl=*/true);
  GoToFirstAllowance();
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  EXPECT_EQ(ReadBack(kFirstAllowance), FieldValue(10.0));
}

// The commands that throw the working copy away, given by key and by button:
// with nothing unsaved they ask nothing new; with an edit, Cancel keeps it
// where it is, No throws it away, Yes saves it first (without asking
// 确认要保存吗? again). Ctrl+D asks before its own question, answered No here.
TEST_F(EditorScreen, RefreshAndDeleteAskBeforeTheyThrowAnEditAwayByKeyAndByButton) {
  const std::wstring kAsk = L"数据已修改,是否保存?";
  const std::wstring kDelete = L"确认要删除编码为01的津贴项目吗?";
  watcher_.Answer(kDelete, IDNO);
  const auto by_key = [](WORD key) { return [key] { PressKey(key, /*ctrl=*/true); }; };
  const auto by_button = [&](const wchar_t* caption) {
    return [this, caption] { ClickToolButton(caption); };
  };
  struct Case {
    const char* name;
    std::function<void()> command;
    const wchar_t* typed;  // nullptr: nothing unsaved
    int answer;
    std::vector<std::wstring> boxes;
    const wchar_t* shown;  // the allowance cell afterwards
    double saved;          // the database afterwards
  };
  const Case cases[] = {
      {"Ctrl+R, nothing unsaved", by_key('R'), nullptr, IDYES, {}, L"10.00", 10},
      {"刷新, Cancel", by_button(L"刷新"), L"77", IDCANCEL, {kAsk}, L"77.00", 10},
      {"Ctrl+R, No", by_key('R'), L"78", IDNO, {kAsk}, L"10.00", 10},
      {"刷新, Yes", by_button(L"刷新"), L"79", IDYES, {kAsk, L"保存成功"}, L"79.00", 79},
      {"Ctrl+D, nothing unsaved", by_key('D'), nullptr, IDYES, {kDelete}, L"79.00", 79},
      {"删行, Cancel", by_button(L"删行"), L"80", IDCANCEL, {kAsk}, L"80.00", 79},
      {"Ctrl+D, Yes", by_key('D'), L"81", IDYES, {kAsk, L"保存成功", kDelete}, L"81.00", 81},
  };
  for (const Case& c : cases) {
    if (c.typed != nullptr) {
      GoToFirstAllowance();
      TypeText(c.typed);
      PressKey(VK_RETURN);
    }
    watcher_.Answer(kAsk, c.answer);
    const size_t before = watcher_.boxes().size();
    c.command();
    PumpPending();
    const std::vector<std::wstring> all = BoxTexts();
    EXPECT_EQ(std::vector<std::wstring>(all.begin() + static_cast<long>(before), all.end()),
              c.boxes)
        << c.name;
    GoToFirstAllowance();
    EXPECT_EQ(EditText(type_grid_), std::wstring(c.shown)) << c.name;
    EXPECT_EQ(ReadBack(kFirstAllowance), FieldValue(c.saved)) << c.name;
    // What Cancel kept is thrown away before the next case.
    if (c.answer == IDCANCEL) {
      watcher_.Answer(kAsk, IDNO);
      PressKey('R', /*ctrl=*/true);
    }
  }
  EXPECT_NE(FindTreeItem(L"01 整件配送补助"), nullptr) << "every delete was answered No";
}

// Esc with an unsaved edit, answered Yes: saved without a second question,
// then closed.
TEST_F(EditorScreen, EscWithAnUnsavedEditSavesOnYesAndCloses) {
  GoToFirstAllowance();
  TypeText(L"21");
  PressKey(VK_RETURN);
  SetFocus(tree_);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor_); }));
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"数据已修改,是否保存?", L"保存成功"}));
  EXPECT_EQ(ReadBack(kFirstAllowance), FieldValue(21.0));
}

// 退出 clicked with an unsaved edit: Cancel keeps the editor open with the
// edit; No closes it and the database keeps what it had.
TEST_F(EditorScreen, TheExitButtonAsksWithAnUnsavedEditCancelStaysNoCloses) {
  GoToFirstAllowance();
  TypeText(L"22");
  PressKey(VK_RETURN);
  watcher_.Answer(L"数据已修改,是否保存?", IDCANCEL);
  ClickToolButton(L"退出");
  PumpPending();
  ASSERT_TRUE(IsWindow(editor_)) << "Cancel keeps the editor open";
  EXPECT_EQ(notify_.close_notifications(), 0);

  watcher_.Answer(L"数据已修改,是否保存?", IDNO);
  ClickToolButton(L"退出");
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor_); }));
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::wstring>{L"数据已修改,是否保存?", L"数据已修改,是否保存?"}));
  EXPECT_EQ(ReadBack(kFirstAllowance), FieldValue(10.0));
}

TEST_F(EditorScreen, EscClosesAndTheColumnLayoutsAreWrittenAndReadOnTheNextStart) {
  const std::wstring settings = SettingsFile();
  DeleteFileW(settings.c_str());
  auto stored = [&](const wchar_t* section, const wchar_t* key) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(section, key, L"", value, 64, settings.c_str());
    return std::wstring(value);
  };

  // The code column's right edge is at 60: dragged to 90.
  DragAt(item_grid_, {60, kRowPitch / 2}, {90, kRowPitch / 2});
  SetFocus(tree_);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor_); }));
  EXPECT_EQ(notify_.close_notifications(), 1);
  EXPECT_EQ(stored(L"frmSubsidySet1", L"项目编码"), L"1,90");
  EXPECT_EQ(stored(L"frmSubsidySet1", L" "), L"0,0");
  EXPECT_EQ(stored(L"frmSubsidySet2", L"车型编码"), L"1,64");

  // The next start takes the width from the file: changed under the open
  // editor, the file gets back the width the start read.
  HWND again = OpenEditor();
  ASSERT_NE(again, nullptr);
  WritePrivateProfileStringW(L"frmSubsidySet1", L"项目编码", L"1,1", settings.c_str());
  PostMessageW(again, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(again); }));
  EXPECT_EQ(stored(L"frmSubsidySet1", L"项目编码"), L"1,90");
  DeleteFileW(settings.c_str());
}

}  // namespace
}  // namespace tarnvex::testing
