// The editor's modal popups: the shortcut guide that F1 shows, and the add
// dialog, looked at and driven from thread timers that run inside their
// modal loops.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "widgets/win32/wide_text.h"
#include "wine/add_dialog_timers.h"
#include "wine/clipboard.h"
#include "wine/editor_screen.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/test_host.h"
#include "wine/window_creations.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

// What a thread timer saw while the guide was up, and where it kept a picture.
struct GuideVisit {
  bool guide_visible = false;
  bool host_disabled = false;
  std::wstring picture;
};
GuideVisit g_guide_visit;

// Runs inside the guide's modal loop once it has painted (timers come after
// paints): looks, keeps a picture, and closes the guide with a key.
void CALLBACK WhileTheGuideShows(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND guide = FindWindowW(L"TarnvexTextPopup", nullptr);
  g_guide_visit.guide_visible = guide != nullptr && IsWindowVisible(guide);
  HWND root = guide != nullptr ? GetWindow(guide, GW_OWNER) : nullptr;
  g_guide_visit.host_disabled = root != nullptr && !IsWindowEnabled(root);
  if (guide != nullptr) SaveWindowPicture(guide, g_guide_visit.picture);
  PressKey(VK_SPACE);
}

TEST_F(EditorScreen, F1ShowsTheShortcutGuideModallyAndAKeyClosesIt) {
  g_guide_visit = GuideVisit{};
  g_guide_visit.picture = Wide(ScratchFolder()) + L"guide.bmp";
  SetTimer(nullptr, 0, 1, WhileTheGuideShows);
  PressKey(VK_F1);
  EXPECT_TRUE(g_guide_visit.guide_visible);
  EXPECT_TRUE(g_guide_visit.host_disabled) << "the guide is modal";
  EXPECT_EQ(FindWindowW(L"TarnvexTextPopup", nullptr), nullptr);
  EXPECT_TRUE(IsWindowEnabled(top_.handle())) << "the host takes input again";

  // Esc closes the guide; without the guide it would close the editor.
  WindowCreations created;
  PressKeysInOneGo({VK_F1, VK_ESCAPE});
  EXPECT_TRUE(created.Created(L"TarnvexTextPopup"));
  EXPECT_TRUE(IsWindow(editor_));
  EXPECT_EQ(notify_.close_notifications(), 0);
  EXPECT_TRUE(watcher_.boxes().empty());
}

TEST_F(EditorScreen, AnItemAddedThroughTheDialogIsSaved) {
  // The dialog offers the tree's categories in its order, the first chosen.
  const std::vector<std::wstring> categories = TreeCategories();
  ASSERT_FALSE(categories.empty());
  WindowCreations created;
  SetTimer(nullptr, 0, 1, FillInTheAddDialog);
  ClickToolButton(L"增加");
  EXPECT_TRUE(created.Created(L"TarnvexDialog"));
  EXPECT_TRUE(watcher_.boxes().empty());
  EXPECT_NE(FindTreeItem(L"13 节日加班补助"), nullptr);

  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='13'"),
            FieldValue(std::string("节日加班补助")));
  EXPECT_EQ(ReadBack(u"select f_lb from tbdyjtxmda where f_jtxmbm='13'"),
            FieldValue(FromWide(categories.front())));
  EXPECT_EQ(ReadBack(u"select count(*) from tbdyjtxmlb where f_jtxmbm='13'"), FieldValue(7.0))
      << "one parameter row per vehicle type";
}

TEST_F(EditorScreen, EscCancelsTheAddDialogAndAddsNothing) {
  SetTimer(nullptr, 0, 1, CancelTheAddDialog);
  ClickToolButton(L"增加");
  EXPECT_EQ(FindWindowW(L"TarnvexDialog", nullptr), nullptr);
  EXPECT_TRUE(IsWindow(editor_)) << "Esc in the dialog is not the editor's exit";
  EXPECT_TRUE(watcher_.boxes().empty());
  for (const auto& [depth, text] : TreeItems()) EXPECT_NE(text.substr(0, 3), L"14 ");
  EXPECT_TRUE(IsWindowEnabled(top_.handle()));
}

TEST_F(EditorScreen, CtrlNAndInsertOnTheItemGridOpenTheAddDialog) {
  {
    WindowCreations created;
    SetTimer(nullptr, 0, 1, CancelTheAddDialog);
    PressKey('N', /*ctrl=*/true);
    EXPECT_TRUE(created.Created(L"TarnvexDialog")) << "Ctrl+N";
  }
  // A click into the current cell puts the caret there, where Insert is the
  // text's; a row further down leaves the text.
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);
  {
    WindowCreations created;
    SetTimer(nullptr, 0, 1, CancelTheAddDialog);
    PressKey(VK_INSERT);
    EXPECT_TRUE(created.Created(L"TarnvexDialog")) << "Insert on the item grid";
  }
  // Shift+Insert stays the grid's paste: no dialog.
  WindowCreations created;
  PressKey(VK_INSERT, /*ctrl=*/false, /*shift=*/true);
  EXPECT_FALSE(created.Created(L"TarnvexDialog"));
  EXPECT_TRUE(IsWindow(editor_));
}

// A child window of the add dialog as the operator sees it.
struct DialogChild {
  std::wstring class_name;
  std::wstring text;
  RECT place{};  // in the dialog's client coordinates
};

// How the add dialog is left, once it has been looked at.
enum class AddDialogExit { kAltC, kAltS, kMouseOnOk };

// What one visit to the add dialog saw, read inside its modal loop.
struct AddDialogVisit {
  AddDialogExit exit = AddDialogExit::kAltC;
  std::wstring code;
  std::wstring name;
  std::wstring picture;  // where its screenshot goes; none when empty
  bool found = false;
  SIZE client{};
  std::vector<DialogChild> children;
  COLORREF background = CLR_INVALID;
  std::vector<COLORREF> edit_corners;  // the top left pixel of each edit
};
AddDialogVisit g_add_visit;

BOOL CALLBACK CollectDialogChild(HWND child, LPARAM dialog_param) {
  const auto dialog = reinterpret_cast<HWND>(dialog_param);
  if (GetParent(child) != dialog) return TRUE;
  DialogChild seen;
  wchar_t text[64] = {};
  GetClassNameW(child, text, 64);
  seen.class_name = text;
  GetWindowTextW(child, text, 64);
  seen.text = text;
  GetWindowRect(child, &seen.place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&seen.place), 2);
  g_add_visit.children.push_back(seen);
  return TRUE;
}

// Runs inside the add dialog's modal loop: reads back its client area, its
// children and colours, keeps its screenshot, fills in the code and the name
// with keys and leaves it as the visit says.
void CALLBACK LookAtTheAddDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  AddDialogVisit& visit = g_add_visit;
  HWND dialog = FindWindowW(L"TarnvexDialog", nullptr);
  if (dialog == nullptr) return;
  visit.found = true;
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(dialog, &client);
  visit.client = {client.right, client.bottom};
  EnumChildWindows(dialog, CollectDialogChild, reinterpret_cast<LPARAM>(dialog));
  HDC dc = GetDC(dialog);
  visit.background = GetPixel(dc, 8, client.bottom - 8);
  ReleaseDC(dialog, dc);
  for (HWND edit = FindWindowExW(dialog, nullptr, L"EDIT", nullptr); edit != nullptr;
       edit = FindWindowExW(dialog, edit, L"EDIT", nullptr)) {
    HDC frame = GetWindowDC(edit);
    visit.edit_corners.push_back(GetPixel(frame, 0, 0));
    ReleaseDC(edit, frame);
  }
  if (!visit.picture.empty()) SaveWindowPicture(dialog, visit.picture);

  TypeText(visit.code);
  PressKey(VK_RETURN);  // on to the name
  TypeText(visit.name);
  switch (visit.exit) {
    case AddDialogExit::kAltC:
      PressAltKey('C');
      break;
    case AddDialogExit::kAltS:
      PressAltKey('S');
      break;
    case AddDialogExit::kMouseOnOk:
      for (const DialogChild& child : visit.children) {
        if (_wcsicmp(child.class_name.c_str(), L"Button") != 0 || child.text != L"确定(&S)")
          continue;
        ClickAt(dialog, {(child.place.left + child.place.right) / 2,
                         (child.place.top + child.place.bottom) / 2});
      }
      break;
  }
}

// The dialog as designed: a 344 x 128 client area in the grids' colour that
// holds every control whole (确定 and 取消 were once pushed below it by the
// caption), the three labels in their places, the edits in green frames;
// Alt+C cancels, Alt+S and a click on 确定 add the item.
TEST_F(EditorScreen, TheAddDialogShowsItsControlsWholeAndTakesItsAccessKeysAndClicks) {
  struct Case {
    AddDialogExit exit;
    const wchar_t* code;
    const wchar_t* name;
    bool added;
  };
  const Case cases[] = {
      {AddDialogExit::kAltC, L"14", L"夜班补助", false},
      {AddDialogExit::kMouseOnOk, L"15", L"高温补助", true},
      {AddDialogExit::kAltS, L"16", L"节日补助", true},
  };
  struct Placed {
    const wchar_t* text;
    LONG left;
    LONG top;
  };
  const Placed labels[] = {{L"津贴项目编码", 24, 16}, {L"津贴项目名称", 24, 40}, {L"类别", 24, 64}};
  for (const Case& test : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &test - cases);
    g_add_visit = {};
    g_add_visit.exit = test.exit;
    g_add_visit.code = test.code;
    g_add_visit.name = test.name;
    if (test.exit == AddDialogExit::kAltC) {
      g_add_visit.picture = Wide(ScratchFolder()) + L"add_dialog.bmp";
    }
    SetTimer(nullptr, 0, 1, LookAtTheAddDialog);
    ClickToolButton(L"增加");
    const AddDialogVisit& seen = g_add_visit;
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(FindWindowW(L"TarnvexDialog", nullptr), nullptr) << "the dialog closed";
    EXPECT_TRUE(watcher_.boxes().empty());

    EXPECT_EQ(seen.client.cx, 344);
    EXPECT_EQ(seen.client.cy, 128);
    EXPECT_EQ(seen.children.size(), 8u) << "3 labels, 2 edits, a combo box, 2 buttons";
    for (const DialogChild& child : seen.children) {
      SCOPED_TRACE(::testing::Message() << "child " << &child - seen.children.data());
      EXPECT_GE(child.place.left, 0);
      EXPECT_GE(child.place.top, 0);
      EXPECT_LE(child.place.right, seen.client.cx);
      EXPECT_LE(child.place.bottom, seen.client.cy);
      EXPECT_GT(child.place.right, child.place.left);
      EXPECT_GT(child.place.bottom, child.place.top);
    }
    for (const Placed& label : labels) {
      const auto found =
          std::find_if(seen.children.begin(), seen.children.end(), [&](const DialogChild& child) {
            return _wcsicmp(child.class_name.c_str(), L"Static") == 0 && child.text == label.text;
          });
      ASSERT_NE(found, seen.children.end()) << "label " << &label - labels;
      EXPECT_EQ(found->place.left, label.left);
      EXPECT_EQ(found->place.top, label.top);
    }
    EXPECT_EQ(seen.background, RGB(0xFB, 0xFE, 0xDE)) << "the grids' colour, 0xDEFEFB";
    ASSERT_EQ(seen.edit_corners.size(), 2u);
    for (COLORREF corner : seen.edit_corners) EXPECT_EQ(corner, RGB(0, 0x80, 0)) << "green";

    const std::wstring item = std::wstring(test.code) + L" " + test.name;
    EXPECT_EQ(FindTreeItem(item) != nullptr, test.added);
    EXPECT_TRUE(IsWindowEnabled(top_.handle()));
  }
}

// What the keys alone did in the add dialog, read inside its modal loop.
struct KeyedAddVisit {
  bool found = false;
  std::vector<std::wstring> focus;  // the focused control, first and after each Tab
  bool dropped = false;             // by Alt+Down
  bool special_listed = false;
  int choice_before = -1;
  int choice_after = -1;  // after Down
  bool dropped_after_enter = true;
  bool open_after_enter = false;
  std::wstring picked;
};
KeyedAddVisit g_keyed_visit;

// The add dialog's control with the focus as the operator tells them apart:
// "code" and "name" (its two edits, in order), "category", a button's caption.
std::wstring FocusedAddControl(HWND dialog) {
  HWND focus = GetFocus();
  wchar_t name[32] = {};
  GetClassNameW(focus, name, 32);
  if (_wcsicmp(name, L"Edit") == 0) {
    return focus == FindWindowExW(dialog, nullptr, L"EDIT", nullptr) ? L"code" : L"name";
  }
  if (_wcsicmp(name, L"ComboBox") == 0) return L"category";
  if (_wcsicmp(name, L"Button") == 0) return WindowText(focus);
  return name;
}

// Runs inside the add dialog's modal loop: fills it in, goes round its
// controls with Tab, picks a category from the list Alt+Down opens and
// confirms, all by keys.
void CALLBACK DriveTheAddDialogByKeys(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND dialog = FindWindowW(L"TarnvexDialog", nullptr);
  if (dialog == nullptr) return;
  KeyedAddVisit& visit = g_keyed_visit;
  visit.found = true;
  visit.focus.push_back(FocusedAddControl(dialog));
  TypeText(L"17");
  const auto tab = [&] {
    PressKey(VK_TAB);
    visit.focus.push_back(FocusedAddControl(dialog));
  };
  tab();
  TypeText(L"键盘补助");
  for (int i = 0; i < 6; ++i) tab();
  HWND combo = GetFocus();
  PressAltKey(VK_DOWN);
  visit.dropped = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
  visit.special_listed = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(L"特殊")) != CB_ERR;
  visit.choice_before = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  PressKey(VK_DOWN);
  visit.choice_after = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  PressKey(VK_RETURN);
  visit.dropped_after_enter = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
  visit.open_after_enter = IsWindow(dialog) && IsWindowVisible(dialog);
  wchar_t picked[32] = {};
  if (SendMessageW(combo, CB_GETLBTEXTLEN, visit.choice_after, 0) < 32) {
    SendMessageW(combo, CB_GETLBTEXT, visit.choice_after, reinterpret_cast<LPARAM>(picked));
  }
  visit.picked = picked;
  PressKey(VK_RETURN);
}

// The add dialog by keys alone: Tab goes code, name, category, 确定, 取消
// and round; Alt+Down opens the category list (特殊 among its items), Down
// moves in it, Enter only picks and the dialog stays; Enter again adds the
// item under the category picked.
TEST_F(EditorScreen, TheAddDialogIsFilledInAndConfirmedByKeysAlone) {
  g_keyed_visit = {};
  SetTimer(nullptr, 0, 1, DriveTheAddDialogByKeys);
  ClickToolButton(L"增加");
  const KeyedAddVisit& seen = g_keyed_visit;
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.focus, (std::vector<std::wstring>{L"code", L"name", L"category", L"确定(&S)",
                                                   L"取消(&C)", L"code", L"name", L"category"}));
  EXPECT_TRUE(seen.dropped) << "Alt+Down opens the list";
  EXPECT_TRUE(seen.special_listed);
  EXPECT_EQ(seen.choice_after, seen.choice_before + 1) << "Down moves in the list";
  EXPECT_FALSE(seen.dropped_after_enter);
  EXPECT_TRUE(seen.open_after_enter) << "Enter in the open list only picks";
  EXPECT_EQ(FindWindowW(L"TarnvexDialog", nullptr), nullptr) << "the second Enter confirms";
  EXPECT_TRUE(watcher_.boxes().empty());
  HTREEITEM added = FindTreeItem(L"17 键盘补助");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(ParentText(added), seen.picked);
}

// Runs inside the add dialog's modal loop: code 15, selected whole and
// copied by Ctrl+A and Ctrl+C, then a name of a spreadsheet's cell with
// control characters in it, pasted by Ctrl+V and by Shift+Insert; confirmed.
void CALLBACK PasteIntoTheAddDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TypeText(L"15");
  PressKey('A', /*ctrl=*/true);
  PressKey('C', /*ctrl=*/true);
  PressKey(VK_END);
  PressKey(VK_RETURN);  // on to the name
  EXPECT_TRUE(PutOnClipboard(GetActiveWindow(), L"节日\x16加班\t\x01\r\n"));
  PressKey('V', /*ctrl=*/true);
  PressKey(VK_INSERT, /*ctrl=*/false, /*shift=*/true);
  PressKey(VK_TAB);  // on to 确定
  PressKey(VK_RETURN);
}

// Ctrl+V, Ctrl+A and Ctrl+C each send their control character after the key;
// one of them was once saved into an item name.
TEST_F(EditorScreen, ControlCharactersPastedIntoTheAddDialogNeverReachTheDatabase) {
  SetTimer(nullptr, 0, 1, PasteIntoTheAddDialog);
  ClickToolButton(L"增加");
  EXPECT_TRUE(watcher_.boxes().empty());
  EXPECT_NE(FindTreeItem(L"15 节日加班节日加班"), nullptr);
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='15'"),
            FieldValue(std::string("节日加班节日加班")));
}

}  // namespace
}  // namespace tarnvex::testing
