#pragma once

// The real editor in SubsidySet.dll, on the demo database through Wine's ODBC,
// opened in a window of this program as the host opens it, for the tests that
// drive it by clicks and keys as an operator does (editor_screen_*_test.cpp):
// their fixture, and the places, colours and readings they share.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/data_packet.h"
#include "host/win32/com_ptr.h"
#include "standin/host_app/plugin_library.h"
#include "wine/message_box_watcher.h"
#include "wine/test_host.h"

namespace tarnvex::testing {

// The band of lines of a data row on screen (row 1 first below the header).
constexpr int RowTop(int screen_row) { return kRowPitch * screen_row; }

// The item grid as it starts: code 60 pixels wide, name 114, category 42,
// each followed by its grid line. The current category cell's drop button
// lies at its right end, inside the cell's focus rectangle.
constexpr int kNameLeft = 61;
constexpr int kCategoryLeft = kNameLeft + 115;
constexpr int kCategoryWidth = 42;
// Points of a row of the item grid: in its name cell, a little way into the
// text; in its category cell, beside the drop button; on the drop button.
POINT NameCell(int row);
POINT CategoryCell(int row);
POINT DropButton(int row);

// The middle of a cell of the vehicle grid as it starts: code 64 and name 73
// pixels wide, each number column 80, a line after each column.
POINT TypeGridCell(int col, int row);

// The tint the editor gives the item grid's current row.
constexpr COLORREF kCurrentItemTint = RGB(0xB5, 0xDD, 0xF5);

// The database's 津贴起点 of item 01 for vehicle type 01: the parameter that
// GoToFirstAllowance makes current.
constexpr char16_t kFirstAllowance[] =
    u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'";

// The selection an EDIT shows: start and end in UTF-16 units.
std::pair<DWORD, DWORD> EditSelection(HWND edit);
// Whether the keyboard focus is in a window or one of its children.
bool FocusIn(HWND window);
// A visible window of this thread's of the class (a cell's pick list, a tool
// tip), or null while none shows.
HWND ShownThreadWindow(const wchar_t* class_name);

// An editor opened for operator 0001 in a panel of a top-level window, on a
// database of the test's own; questions are answered Yes and every box is
// recorded.
class EditorScreen : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The database the editor opens on: the demo database unless a test says.
  virtual std::u16string MakeDatabase();

  // Opens an editor in the panel through the export, as the host does; the
  // editor, or null.
  HWND OpenEditor();

  // What the in-place edit of a grid shows: the current cell's text, when
  // the cell can be typed into; nullopt when the edit is hidden.
  static std::optional<std::wstring> EditText(HWND grid);
  // Clicks the first data cell of a grid's first column.
  static void ClickFirstCell(HWND grid);
  // Shows item 07 alone, goes down to the new row under it and types code
  // into that row's code cell.
  void TypeCodeOnANewRow(const std::wstring& code);
  // Makes the first vehicle type's 津贴起点 the current cell: its code
  // clicked, then two steps right.
  void GoToFirstAllowance();

  // The tree's items, parents before children, with their depth.
  std::vector<std::pair<int, std::wstring>> TreeItems() const;
  // The texts of the categories in the tree, in its order.
  std::vector<std::wstring> TreeCategories() const;
  HTREEITEM FindTreeItem(const std::wstring& text) const;
  // The text of the tree's selected item; empty when none is.
  std::wstring SelectedTreeText() const;
  // The text of a tree item's parent.
  std::wstring ParentText(HTREEITEM item) const;
  void ClickTreeItem(HTREEITEM item);

  // One value of the test's database, as the host's service reads it now.
  FieldValue ReadBack(const std::u16string& sql) const;
  // Runs statements on the test's database behind the editor's back.
  bool Execute(std::initializer_list<std::u16string> statements) const;

  // The texts of the boxes shown so far.
  std::vector<std::wstring> BoxTexts() const;
  void ClickToolButton(const std::wstring& caption);

  MessageBoxWatcher watcher_{IDYES};
  std::optional<PluginLibrary> plugin_{std::in_place, L"SubsidySet.dll"};
  TestWindow top_{nullptr, 900, 640};
  TestWindow panel_{top_.handle(), 880, 600};
  TestWindow notify_{top_.handle(), 10, 10};
  std::u16string database_;
  ComPtr<IDispatch> host_;
  HWND editor_ = nullptr;
  HWND tree_ = nullptr;
  HWND item_grid_ = nullptr;
  HWND type_grid_ = nullptr;
};

// The editor on 1,000 items of 100 vehicle types each.
class EditorScreenLarge : public EditorScreen {
 protected:
  std::u16string MakeDatabase() override;
};

}  // namespace tarnvex::testing
