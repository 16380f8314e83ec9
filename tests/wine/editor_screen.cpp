#include "wine/editor_screen.h"

#include <functional>

#include "wine/demo_database.h"
#include "wine/host_process.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/tool_bar_buttons.h"

namespace tarnvex::testing {

namespace {

// The text of a tree item; empty for none.
std::wstring ItemText(HWND tree, HTREEITEM item) {
  wchar_t text[128] = {};
  TVITEMW query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = text;
  query.cchTextMax = 128;
  if (item == nullptr || !TreeView_GetItem(tree, &query)) return L"";
  return text;
}

// Calls visit with each item from first on, and its children after each, and
// the depth of each.
void VisitTree(HWND tree, HTREEITEM first, int depth,
               const std::function<void(HTREEITEM, int)>& visit) {
  for (HTREEITEM item = first; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    visit(item, depth);
    VisitTree(tree, TreeView_GetChild(tree, item), depth + 1, visit);
  }
}

struct ClassSearch {
  const wchar_t* class_name;
  HWND found = nullptr;
};

BOOL CALLBACK TakeShownOfClass(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ClassSearch*>(context);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (_wcsicmp(name, search->class_name) != 0 || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

POINT NameCell(int row) { return {kNameLeft + 20, RowTop(row) + kRowPitch / 2}; }

POINT CategoryCell(int row) { return {kCategoryLeft + 10, RowTop(row) + kRowPitch / 2}; }

POINT DropButton(int row) {
  return {kCategoryLeft + kCategoryWidth - 2 - 7, RowTop(row) + kRowPitch / 2};
}

POINT TypeGridCell(int col, int row) {
  const int left = col < 2 ? (col == 0 ? 0 : 65) : 139 + (col - 2) * 81;
  const int width = col == 0 ? 64 : col == 1 ? 73 : 80;
  return {left + width / 2, RowTop(row) + kRowPitch / 2};
}

std::pair<DWORD, DWORD> EditSelection(HWND edit) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

bool FocusIn(HWND window) {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == window || IsChild(window, focus));
}

HWND ShownThreadWindow(const wchar_t* class_name) {
  ClassSearch search{class_name};
  EnumThreadWindows(GetCurrentThreadId(), TakeShownOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void EditorScreen::SetUp() {
  database_ = MakeDatabase();
  ASSERT_FALSE(database_.empty()) << "the database could not be made";
  host_ = StandinHostOn(database_);
  SetForegroundWindow(top_.handle());
  // The mouse rests away from the editor: where an earlier test left it, on
  // a scroll bar's arrow, Wine draws the new grid's arrow hot.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  // A draft that an editor of another area left would be offered back.
  DeleteDraftsOf(L"0001");
  editor_ = OpenEditor();
  ASSERT_NE(editor_, nullptr);
  PumpPending();
  tree_ = FindDescendant(editor_, WC_TREEVIEWW);
  ASSERT_NE(tree_, nullptr);
  const EditorGrids grids = GridsOf(editor_);
  ASSERT_NE(grids.items, nullptr);
  ASSERT_NE(grids.types, nullptr);
  item_grid_ = grids.items;
  type_grid_ = grids.types;
}

void EditorScreen::TearDown() {
  // The host drops the editor with its window. One left with an edit
  // unsaved writes its draft then, which no later opening, of this area or
  // the next, is to find.
  panel_.Destroy();
  PumpPending();
  DeleteDraftsOf(L"0001");
}

std::u16string EditorScreen::MakeDatabase() { return MakeDemoDatabase(u"screen.db"); }

HWND EditorScreen::OpenEditor() {
  plugin_->Open(notify_.handle(), "0001", panel_.handle(), host_.get());
  std::vector<HWND> editors = EditorsIn(panel_.handle());
  return editors.size() == 1 ? editors.front() : nullptr;
}

std::optional<std::wstring> EditorScreen::EditText(HWND grid) {
  HWND edit = FindWindowExW(grid, nullptr, L"EDIT", nullptr);
  if (edit == nullptr || !IsWindowVisible(edit)) return std::nullopt;
  return WindowText(edit);
}

void EditorScreen::ClickFirstCell(HWND grid) { ClickAt(grid, {8, kRowPitch + kRowPitch / 2}); }

void EditorScreen::TypeCodeOnANewRow(const std::wstring& code) {
  HTREEITEM item = FindTreeItem(L"07 夜班出车补助");
  ASSERT_NE(item, nullptr);
  ClickTreeItem(item);
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);  // the new row under the only item
  TypeText(code);
}

void EditorScreen::GoToFirstAllowance() {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
}

std::wstring EditorScreen::SelectedTreeText() const {
  const HTREEITEM selected = TreeView_GetSelection(tree_);
  return selected != nullptr ? ItemText(tree_, selected) : std::wstring();
}

std::vector<std::pair<int, std::wstring>> EditorScreen::TreeItems() const {
  std::vector<std::pair<int, std::wstring>> items;
  VisitTree(tree_, TreeView_GetRoot(tree_), 0,
            [&](HTREEITEM item, int depth) { items.emplace_back(depth, ItemText(tree_, item)); });
  return items;
}

std::vector<std::wstring> EditorScreen::TreeCategories() const {
  std::vector<std::wstring> categories;
  for (const auto& [depth, text] : TreeItems()) {
    if (depth == 1) categories.push_back(text);
  }
  return categories;
}

HTREEITEM EditorScreen::FindTreeItem(const std::wstring& text) const {
  HTREEITEM found = nullptr;
  VisitTree(tree_, TreeView_GetRoot(tree_), 0, [&](HTREEITEM item, int) {
    if (found == nullptr && ItemText(tree_, item) == text) found = item;
  });
  return found;
}

std::wstring EditorScreen::ParentText(HTREEITEM item) const {
  return ItemText(tree_, TreeView_GetParent(tree_, item));
}

void EditorScreen::ClickTreeItem(HTREEITEM item) {
  RECT rect{};
  ASSERT_TRUE(TreeView_GetItemRect(tree_, item, &rect, TRUE));
  ClickAt(tree_, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

FieldValue EditorScreen::ReadBack(const std::u16string& sql) const {
  return ReadValue(database_, sql);
}

bool EditorScreen::Execute(std::initializer_list<std::u16string> statements) const {
  return ExecuteOn(database_, statements);
}

std::vector<std::wstring> EditorScreen::BoxTexts() const {
  std::vector<std::wstring> texts;
  for (const auto& box : watcher_.boxes()) texts.push_back(box.text);
  return texts;
}

void EditorScreen::ClickToolButton(const std::wstring& caption) {
  const RECT button = ToolButtonRect(editor_, caption);
  ASSERT_FALSE(IsRectEmpty(&button)) << "the tool bar has no such button";
  testing::ClickToolButton(editor_, caption);
}

std::u16string EditorScreenLarge::MakeDatabase() { return MakeLargeDatabase(u"large.db"); }

}  // namespace tarnvex::testing
