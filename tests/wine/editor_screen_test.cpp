// The real editor in SubsidySet.dll, on the demo database through Wine's
// ODBC, driven by clicks and keys as an operator drives it: what start-up
// shows, choosing a tree node, moving between rows, the column layouts kept
// on close. A screenshot of the running editor is kept for the record.

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/data_packet.h"
#include "host/win32/com_ptr.h"
#include "standin/host_app/plugin_library.h"
#include "text/codepage.h"
#include "wine/add_dialog_timers.h"
#include "wine/beep_counter.h"
#include "wine/demo_database.h"
#include "wine/host_process.h"
#include "wine/message_box_watcher.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/test_host.h"
#include "wine/tool_bar_buttons.h"
#include "wine/window_creations.h"

namespace tarnvex::testing {
namespace {

// A window's picture, as 24-bit rows from the bottom up (the BMP order). Read
// from the window's own DC, which Wine keeps up to date, rather than from the
// screen, which it updates later.
struct Picture {
  BITMAPINFOHEADER info{};
  std::vector<BYTE> pixels;

  int width() const { return info.biWidth; }
  int height() const { return info.biHeight; }
  DWORD stride() const { return ((info.biWidth * 3 + 3) / 4) * 4; }
  // The brightness (0..255) of the pixel at x, y from the window's top left.
  int Brightness(int x, int y) const {
    const BYTE* pixel = &pixels[static_cast<size_t>(height() - 1 - y) * stride() + x * 3];
    return (pixel[0] + pixel[1] + pixel[2]) / 3;
  }
  COLORREF Pixel(int x, int y) const {
    const BYTE* pixel = &pixels[static_cast<size_t>(height() - 1 - y) * stride() + x * 3];
    return RGB(pixel[2], pixel[1], pixel[0]);
  }
  // How many pixels of a band of lines [top, bottom) have the colour.
  int CountColour(int top, int bottom, COLORREF colour) const {
    int count = 0;
    for (int y = std::max(0, top); y < bottom && y < height(); ++y) {
      for (int x = 0; x < width(); ++x) count += Pixel(x, y) == colour ? 1 : 0;
    }
    return count;
  }
};

// The picture of a rectangle of a device context.
Picture CopyPicture(HDC source, const RECT& rect) {
  Picture picture;
  BITMAPINFOHEADER& info = picture.info;
  info.biSize = sizeof info;
  info.biWidth = rect.right - rect.left;
  info.biHeight = rect.bottom - rect.top;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, info.biWidth, info.biHeight);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, info.biWidth, info.biHeight, source, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  picture.pixels.resize(static_cast<size_t>(picture.stride()) * info.biHeight);
  GetDIBits(memory, bitmap, 0, info.biHeight, picture.pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return picture;
}

Picture TakePicture(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  HDC dc = GetWindowDC(window);
  Picture picture = CopyPicture(dc, rect);
  ReleaseDC(window, dc);
  return picture;
}

// A rectangle of the screen as the operator sees it, popups over the
// windows included.
Picture TakeScreenPicture(const RECT& rect) {
  HDC dc = GetDC(nullptr);
  Picture picture = CopyPicture(dc, rect);
  ReleaseDC(nullptr, dc);
  return picture;
}

// Saves a picture as a BMP file.
bool SavePicture(const Picture& picture, const std::wstring& path) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof picture.info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(picture.pixels.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &picture.info, sizeof picture.info, &written, nullptr) &&
            WriteFile(out, picture.pixels.data(), static_cast<DWORD>(picture.pixels.size()),
                      &written, nullptr);
  CloseHandle(out);
  return ok;
}

bool SaveWindowPicture(HWND window, const std::wstring& path) {
  return SavePicture(TakePicture(window), path);
}

// Cell text is drawn grey on light backgrounds: darker than this is text.
constexpr int kInkBrightness = 200;

// The text pixels of each line of pixels of a grid's first data row.
std::vector<int> InkOfFirstRow(HWND grid, int row_pitch) {
  Picture picture = TakePicture(grid);
  std::vector<int> ink;
  for (int y = row_pitch; y < 2 * row_pitch && y < picture.height(); ++y) {
    int dark = 0;
    for (int x = 0; x < picture.width(); ++x)
      dark += picture.Brightness(x, y) < kInkBrightness ? 1 : 0;
    ink.push_back(dark);
  }
  return ink;
}

// What a text drawn with one short horizontal stroke more adds to its
// picture: the lines of pixels that gained ink must be at most three next to
// each other (a minus sign or a hyphen), and none may lose ink. Gives the
// number of pixels gained, or 0 when the difference is not such a stroke.
int StrokeGained(const std::vector<int>& without, const std::vector<int>& with) {
  int gained = 0;
  int first = -1;
  int last = -1;
  for (size_t y = 0; y < without.size() && y < with.size(); ++y) {
    const int difference = with[y] - without[y];
    if (difference < 0) return 0;
    if (difference == 0) continue;
    if (first < 0) first = static_cast<int>(y);
    last = static_cast<int>(y);
    gained += difference;
  }
  return first >= 0 && last - first < 3 ? gained : 0;
}

// The current cell's background without the focus, and the tint of the item
// grid's current row: what the grid's peer and the editor paint them with.
constexpr COLORREF kQuietHighlight = RGB(0xD0, 0xD0, 0xD0);
constexpr COLORREF kCurrentItemTint = RGB(0xB5, 0xDD, 0xF5);

// The band of lines of a data row on screen (row 1 first below the header).
constexpr int RowTop(int screen_row) { return kRowPitch * screen_row; }

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

// The selection an EDIT shows: start and end in UTF-16 units.
std::pair<DWORD, DWORD> EditSelection(HWND edit) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

std::wstring FromCp936(const std::string& text) {
  const std::u16string wide = Cp936ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string ToCp936(const std::wstring& text) {
  return Utf16ToCp936(std::u16string(text.begin(), text.end()));
}

class EditorScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = MakeDatabase();
    ASSERT_FALSE(database_.empty()) << "the database could not be made";
    host_ = StandinHostOn(database_);
    SetForegroundWindow(top_.handle());
    // A draft that an editor of another area left would be offered back.
    DeleteDraftsOf(L"0001");
    plugin_->Open(notify_.handle(), "0001", panel_.handle(), host_.get());
    std::vector<HWND> editors = EditorsIn(panel_.handle());
    ASSERT_EQ(editors.size(), 1u);
    editor_ = editors.front();
    PumpPending();
    tree_ = FindDescendant(editor_, WC_TREEVIEWW);
    ASSERT_NE(tree_, nullptr);
    const EditorGrids grids = GridsOf(editor_);
    ASSERT_NE(grids.items, nullptr);
    ASSERT_NE(grids.types, nullptr);
    item_grid_ = grids.items;
    type_grid_ = grids.types;
  }

  void TearDown() override {
    // The host drops the editor with its window. One left with an edit
    // unsaved writes its draft then, which no later opening, of this area or
    // the next, is to find.
    panel_.Destroy();
    PumpPending();
    DeleteDraftsOf(L"0001");
  }

  virtual std::u16string MakeDatabase() { return MakeDemoDatabase(u"screen.db"); }

  // What the in-place edit of a grid shows: the current cell's text, when
  // the cell can be typed into; nullopt when the edit is hidden.
  static std::optional<std::wstring> EditText(HWND grid) {
    HWND edit = FindWindowExW(grid, nullptr, L"EDIT", nullptr);
    if (edit == nullptr || !IsWindowVisible(edit)) return std::nullopt;
    return WindowText(edit);
  }

  // Clicks the first data cell of a grid's first column.
  static void ClickFirstCell(HWND grid) { ClickAt(grid, {8, kRowPitch + kRowPitch / 2}); }

  // The tree's items, parents before children, with their depth.
  std::vector<std::pair<int, std::wstring>> TreeItems() const {
    std::vector<std::pair<int, std::wstring>> items;
    auto walk = [&](auto& self, HTREEITEM item, int depth) -> void {
      for (; item != nullptr; item = TreeView_GetNextSibling(tree_, item)) {
        wchar_t text[128] = {};
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = 128;
        TreeView_GetItem(tree_, &query);
        items.emplace_back(depth, text);
        self(self, TreeView_GetChild(tree_, item), depth + 1);
      }
    };
    walk(walk, TreeView_GetRoot(tree_), 0);
    return items;
  }

  HTREEITEM FindTreeItem(const std::wstring& text) const {
    std::vector<HTREEITEM> pending{TreeView_GetRoot(tree_)};
    while (!pending.empty()) {
      HTREEITEM item = pending.back();
      pending.pop_back();
      for (; item != nullptr; item = TreeView_GetNextSibling(tree_, item)) {
        wchar_t buffer[128] = {};
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = buffer;
        query.cchTextMax = 128;
        TreeView_GetItem(tree_, &query);
        if (text == buffer) return item;
        pending.push_back(TreeView_GetChild(tree_, item));
      }
    }
    return nullptr;
  }

  // The text of a tree item's parent.
  std::wstring ParentText(HTREEITEM item) const {
    wchar_t text[128] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = TreeView_GetParent(tree_, item);
    query.pszText = text;
    query.cchTextMax = 128;
    if (query.hItem == nullptr || !TreeView_GetItem(tree_, &query)) return L"";
    return text;
  }

  void ClickTreeItem(HTREEITEM item) {
    RECT rect{};
    ASSERT_TRUE(TreeView_GetItemRect(tree_, item, &rect, TRUE));
    ClickAt(tree_, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  }

  // One value of the demo database, as the host's service reads it now.
  FieldValue ReadBack(const std::u16string& sql) const { return ReadValue(database_, sql); }

  // Runs statements on the demo database behind the editor's back.
  bool Execute(std::initializer_list<std::u16string> statements) const {
    return ExecuteOn(database_, statements);
  }

  std::vector<std::wstring> BoxTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& box : watcher_.boxes()) texts.push_back(box.text);
    return texts;
  }

  void ClickToolButton(const std::wstring& caption) {
    const RECT button = ToolButtonRect(editor_, caption);
    ASSERT_FALSE(IsRectEmpty(&button)) << "the tool bar has no such button";
    testing::ClickToolButton(editor_, caption);
  }

  // Questions are answered Yes; notices are closed by the same answer.
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

TEST_F(EditorScreen, StartUpShowsTheTreeExpandedAndBothGridsFilled) {
  const auto items = TreeItems();
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front(), std::make_pair(0, std::wstring(L"所有类别")));
  // The root, the five categories in ascending order, the twelve items.
  const std::vector<std::wstring> categories = [&] {
    std::vector<std::wstring> found;
    for (const auto& [depth, text] : items) {
      if (depth == 1) found.push_back(text);
    }
    return found;
  }();
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
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
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

TEST_F(EditorScreen, ATypedParameterIsSavedByCtrlSAndReadBackFromTheDatabase) {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  TypeText(L"12.5x");  // the parameter's key filter drops the letter
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"12.5"));

  WindowCreations created;
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  EXPECT_TRUE(created.Created(L"TarnvexBusyWindow")) << "the busy window shows during the save";
  EXPECT_TRUE(created.Created(L"SysAnimate32"));
  EXPECT_EQ(ReadBack(u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
            FieldValue(12.5));
}

// The system clipboard's text, as another program reads it.
std::wstring ClipboardTextNow(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return L"<clipboard not opened>";
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* data = static_cast<const wchar_t*>(GlobalLock(block))) {
      text = data;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

// Puts text on the system clipboard, as a spreadsheet does.
bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (auto* data = static_cast<wchar_t*>(GlobalLock(block))) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, data);
    GlobalUnlock(block);
    put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  }
  if (!put) GlobalFree(block);
  CloseClipboard();
  return put;
}

// The middle of a cell of the vehicle grid as it starts: code 64 and name 73
// pixels wide, each number column 80, a line after each column.
POINT TypeGridCell(int col, int row) {
  const int left = col < 2 ? (col == 0 ? 0 : 65) : 139 + (col - 2) * 81;
  const int width = col == 0 ? 64 : col == 1 ? 73 : 80;
  return {left + width / 2, RowTop(row) + kRowPitch / 2};
}

// The other cells of a block are tinted with this (the grid's peer).
constexpr COLORREF kBlockTint = RGB(0xB9, 0xD9, 0xF7);

// Blocks of cells to and from a spreadsheet: a block selected by a drag of
// the mouse and by Shift with the arrows is drawn tinted and copied by Ctrl+C
// as tab-separated lines onto the real clipboard.
TEST_F(EditorScreen, ABlockSelectedByDragOrShiftArrowsIsCopiedByCtrlC) {
  DragAt(type_grid_, TypeGridCell(2, 1), TypeGridCell(4, 2));
  PumpPending();
  const Picture dragged = TakePicture(type_grid_);
  // Five of the six cells tinted; the current one keeps its highlight.
  const int cell_pixels = 78 * 17;
  EXPECT_GT(dragged.CountColour(RowTop(1), RowTop(3), kBlockTint), 4 * cell_pixels);
  EXPECT_EQ(dragged.CountColour(RowTop(3), dragged.height(), kBlockTint), 0);
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"block.bmp"));
  PressKey('C', /*ctrl=*/true);
  EXPECT_EQ(ClipboardTextNow(top_.handle()), L"10.00\t60.00\t15.00\r\n14.00\t100.00\t25.00");

  // A click ends the block.
  ClickAt(type_grid_, TypeGridCell(2, 3));
  PumpPending();
  EXPECT_EQ(TakePicture(type_grid_).CountColour(0, 400, kBlockTint), 0);

  // A click into the current cell would put the caret into its text, where
  // Shift and the arrows select text: the name cell first, then the code.
  ClickAt(item_grid_, {61 + 20, kRowPitch + kRowPitch / 2});
  ClickFirstCell(item_grid_);
  PressKey(VK_RIGHT, /*ctrl=*/false, /*shift=*/true);
  PressKey(VK_RIGHT, /*ctrl=*/false, /*shift=*/true);
  PressKey(VK_DOWN, /*ctrl=*/false, /*shift=*/true);
  PumpPending();
  EXPECT_GT(TakePicture(item_grid_).CountColour(RowTop(1), RowTop(3), kBlockTint), 100);
  PressKey('C', /*ctrl=*/true);
  EXPECT_EQ(ClipboardTextNow(top_.handle()), L"01\t整件配送补助\t计件\r\n02\t分装拣货补助\t计件");
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"01")) << "the current cell stays";
  EXPECT_TRUE(watcher_.boxes().empty());
}

// A three-by-two block from a spreadsheet pasted into the vehicle grid by
// Ctrl+V, saved by Ctrl+S and read back from the database; a block with a
// value that is not a number is refused whole, with a message.
TEST_F(EditorScreen, AThreeByTwoBlockPastedFromTheClipboardIsSaved) {
  ASSERT_TRUE(PutOnClipboard(top_.handle(), L"1\tx\r\n"));
  ClickAt(type_grid_, TypeGridCell(2, 1));
  PressKey('V', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::wstring>{
                L"粘贴被取消：项目编码“01”车型编码“01”的“件数起点”只能输入数字和小数点：“x”"}));
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00")) << "nothing of it is applied";

  ASSERT_TRUE(PutOnClipboard(top_.handle(), L"1.5\t2\t3.25\r\n4\t5\t6\r\n"));
  PressKey('V', /*ctrl=*/true);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"1.50"));
  // Ctrl+Z takes it back whole; pasted again, it stays.
  PressKey('Z', /*ctrl=*/true);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  PressKey(VK_DOWN);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"14.00"));
  PressKey(VK_UP);
  PressKey('V', /*ctrl=*/true);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"1.50"));
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::wstring>{
                L"粘贴被取消：项目编码“01”车型编码“01”的“件数起点”只能输入数字和小数点：“x”",
                L"确认要保存吗?", L"保存成功"}));
  const std::vector<std::pair<std::u16string, double>> expected = {
      {u"f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'", 1.5},
      {u"f_jsqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'", 2},
      {u"f_jsjc from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'", 3.25},
      {u"f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02'", 4},
      {u"f_jsqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02'", 5},
      {u"f_jsjc from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02'", 6},
      {u"f_jjjtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'", 5.5},
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(ReadBack(u"select " + expected[i].first), FieldValue(expected[i].second))
        << "value " << i;
  }
}

// A parameter is checked as its cell is left: 1.2.3 is refused by Enter and
// by a click on another cell with a box naming the cell, and stays where it
// was typed, selected, for the operator to mend; refresh answered No puts
// back what the database holds. A number that is taken shows in "0.00".
TEST_F(EditorScreen, AParameterThatIsNotANumberIsRefusedWhereItIsTyped) {
  const auto to_allowance = [&] {
    ClickFirstCell(type_grid_);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
  };
  to_allowance();
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
  to_allowance();
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  EXPECT_EQ(ReadBack(u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
            FieldValue(10.0));

  TypeText(L"12.5");
  PressKey(VK_RETURN);
  PressKey(VK_LEFT);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"12.50"));
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{refused, refused, L"数据已修改,是否保存?"}));
}

TEST_F(EditorScreen, ChineseTypedIntoTheItemNameIsSavedByTheToolBarButton) {
  // Column 1 starts after the 60-pixel code column and its line.
  ClickAt(item_grid_, {61 + 20, kRowPitch + kRowPitch / 2});
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

TEST_F(EditorScreen, CtrlDDeletesTheCurrentItemAfterYes) {
  ClickFirstCell(item_grid_);
  PressKey('D', /*ctrl=*/true);
  ASSERT_FALSE(watcher_.boxes().empty());
  EXPECT_EQ(watcher_.boxes()[0].text, L"确认要删除编码为01的津贴项目吗?");
  EXPECT_EQ(ReadBack(u"select count(*) from tbdyjtxmda where f_jtxmbm='01'"), FieldValue(0.0));
  EXPECT_EQ(FindTreeItem(L"01 整件配送补助"), nullptr);
  EXPECT_NE(FindTreeItem(L"02 分装拣货补助"), nullptr);
}

// Ctrl+R with an unsaved edit asks first: Cancel keeps the edit where it
// is, No throws it away and shows what the database holds.
TEST_F(EditorScreen, CtrlRAsksBeforeItDiscardsAnEdit) {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  TypeText(L"99");
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"99"));

  watcher_.Answer(L"数据已修改,是否保存?", IDCANCEL);
  PressKey('R', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"数据已修改,是否保存?"}));
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"99")) << "Cancel keeps the edit";

  watcher_.Answer(L"数据已修改,是否保存?", IDNO);
  PressKey('R', /*ctrl=*/true);
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  EXPECT_EQ(ReadBack(u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
            FieldValue(10.0));
}

// The commands that throw the working copy away, given by key and by button:
// with nothing unsaved they ask nothing new; with an edit, Cancel keeps it
// where it is, No throws it away, Yes saves it first (without asking
// 确认要保存吗? again). Ctrl+D asks before its own question, answered No here.
TEST_F(EditorScreen, RefreshAndDeleteAskBeforeTheyThrowAnEditAwayByKeyAndByButton) {
  const std::wstring kAsk = L"数据已修改,是否保存?";
  const std::wstring kDelete = L"确认要删除编码为01的津贴项目吗?";
  watcher_.Answer(kDelete, IDNO);
  const auto to_allowance = [&] {
    ClickFirstCell(type_grid_);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
  };
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
      to_allowance();
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
    to_allowance();
    EXPECT_EQ(EditText(type_grid_), std::wstring(c.shown)) << c.name;
    EXPECT_EQ(ReadBack(u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
              FieldValue(c.saved))
        << c.name;
    // What Cancel kept is thrown away before the next case.
    if (c.answer == IDCANCEL) {
      watcher_.Answer(kAsk, IDNO);
      PressKey('R', /*ctrl=*/true);
    }
  }
  EXPECT_NE(FindTreeItem(L"01 整件配送补助"), nullptr) << "every delete was answered No";
}

// After the boxes of a save the keyboard is where it was: typing and Ctrl+S
// reach the editor again without a click.
TEST_F(EditorScreen, TheKeyboardWorksRightAfterTheBoxesOfASave) {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  TypeText(L"31");
  PressKey('S', /*ctrl=*/true);
  ASSERT_EQ(BoxTexts(), (std::vector<std::wstring>{L"确认要保存吗?", L"保存成功"}));
  HWND focus = GetFocus();
  EXPECT_TRUE(focus == type_grid_ || IsChild(type_grid_, focus))
      << "the focus went back to the grid";

  TypeText(L"32");
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"32"));
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(BoxTexts().size(), 4u);
  EXPECT_EQ(ReadBack(u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
            FieldValue(32.0));
}

// Esc with an unsaved edit, answered Yes: saved without a second question,
// then closed.
TEST_F(EditorScreen, EscWithAnUnsavedEditSavesOnYesAndCloses) {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  TypeText(L"21");
  PressKey(VK_RETURN);
  SetFocus(tree_);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor_); }));
  EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"数据已修改,是否保存?", L"保存成功"}));
  EXPECT_EQ(ReadBack(u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
            FieldValue(21.0));
}

// 退出 clicked with an unsaved edit: Cancel keeps the editor open with the
// edit; No closes it and the database keeps what it had.
TEST_F(EditorScreen, TheExitButtonAsksWithAnUnsavedEditCancelStaysNoCloses) {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
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
  EXPECT_EQ(ReadBack(u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
            FieldValue(10.0));
}

// A code typed under the last item and left with the mouse, then a name and
// a category: the save makes the item, and the database has it with its
// parameter rows.
TEST_F(EditorScreen, ARowTypedAndLeftWithTheMouseIsSavedAndReadBack) {
  HTREEITEM item = FindTreeItem(L"07 夜班出车补助");
  ASSERT_NE(item, nullptr);
  ClickTreeItem(item);
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);  // the new row under the only item
  TypeText(L"41");
  ClickAt(item_grid_, {61 + 20, 2 * kRowPitch + kRowPitch / 2});  // its name, by the mouse
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

// The item grid's category column: after code (60) and name (114), each
// with its grid line, 42 pixels wide. The current cell's drop button lies at
// its right end, inside the cell's focus rectangle.
constexpr int kCategoryLeft = 61 + 115;
constexpr int kCategoryWidth = 42;
POINT CategoryCell(int row) { return {kCategoryLeft + 10, RowTop(row) + kRowPitch / 2}; }
POINT DropButton(int row) {
  return {kCategoryLeft + kCategoryWidth - 2 - 7, RowTop(row) + kRowPitch / 2};
}

BOOL CALLBACK FindShownList(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (_wcsicmp(name, L"ListBox") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The list a grid's cell dropped down, while one shows: a popup list box of
// this thread's.
HWND ShownPickList() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindShownList, reinterpret_cast<LPARAM>(&found));
  return found;
}

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

// Whether the keyboard focus is in a window or one of its children.
bool FocusIn(HWND window) {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == window || IsChild(window, focus));
}

// The category of a row typed under the last item comes from the list its
// cell drops down: by the drop button and a click on an item, then by keys
// alone (Alt+Down, Down, Enter); both are saved. The list shows directly
// below the cell, owned by the host's window, while the keys stay in the
// grid.
TEST_F(EditorScreen, ATypedRowsCategoryIsPickedFromTheListItsCellDropsDown) {
  HTREEITEM item = FindTreeItem(L"07 夜班出车补助");
  ASSERT_NE(item, nullptr);
  ClickTreeItem(item);
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);  // the new row under the only item
  TypeText(L"41");
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
  std::vector<std::wstring> categories;
  for (const auto& [depth, text] : TreeItems()) {
    if (depth == 1) categories.push_back(text);
  }
  const std::vector<std::wstring> items = ListItems(list);
  EXPECT_EQ(items, categories);
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
            FieldValue(ToCp936(items[1])));
}

// A typed row without a category is not saved: the message says which row,
// and the keys are in that row's category cell, where typing goes on.
TEST_F(EditorScreen, ASaveStopsAtATypedRowWithoutACategoryWithTheFocusOnItsCell) {
  HTREEITEM item = FindTreeItem(L"07 夜班出车补助");
  ASSERT_NE(item, nullptr);
  ClickTreeItem(item);
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);
  TypeText(L"43");
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
  std::wstring first_category;
  for (const auto& [depth, text] : TreeItems()) {
    if (depth == 1 && first_category.empty()) first_category = text;
  }
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
            FieldValue(ToCp936(first_category)));
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

void CALLBACK CloseTheGuideWithEsc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PressKey(VK_ESCAPE);
}

// After the guide the keys go to the cell they went to before: the arrow
// moves on from it.
TEST_F(EditorScreen, AfterTheGuideTheKeysReachTheCellThatHadThem) {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  ASSERT_EQ(EditText(type_grid_), std::wstring(L"10.00"));
  WindowCreations created;
  SetTimer(nullptr, 0, 1, CloseTheGuideWithEsc);
  PressKey(VK_F1);
  ASSERT_TRUE(created.Created(L"TarnvexTextPopup"));
  ASSERT_EQ(FindWindowW(L"TarnvexTextPopup", nullptr), nullptr);
  HWND focus = GetFocus();
  EXPECT_TRUE(focus == type_grid_ || IsChild(type_grid_, focus)) << "the focus is on the cell";
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
  auto focus_in = [](HWND window) {
    HWND focus = GetFocus();
    return focus == window || IsChild(window, focus);
  };
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
    EXPECT_TRUE(focus_in(step.window))
        << (step.shift ? "Shift+Tab" : "Tab") << " to " << step.window;
  }

  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), tree_) << "Tab goes on from where the mouse put the focus";
  PressKey(VK_TAB, /*ctrl=*/false, /*shift=*/true);
  EXPECT_TRUE(focus_in(type_grid_));
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"10.00")) << "the cell stayed where it was";
  PressKey(VK_RIGHT);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"60.00"));
  EXPECT_TRUE(watcher_.boxes().empty());
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
    ClickAt(item_grid_, {61 + 115 + 10, kRowPitch + kRowPitch / 2});
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
  plugin_->Open(notify_.handle(), "0001", panel_.handle(), host_.get());
  std::vector<HWND> editors = EditorsIn(panel_.handle());
  ASSERT_EQ(editors.size(), 1u);
  WritePrivateProfileStringW(L"frmSubsidySet1", L"项目编码", L"1,1", settings.c_str());
  PostMessageW(editors.front(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editors.front()); }));
  EXPECT_EQ(stored(L"frmSubsidySet1", L"项目编码"), L"1,90");
  DeleteFileW(settings.c_str());
}

// A font setup that cannot draw '-' at the grids' size (as a CJK font standing
// in for every face does) turns -5.25 into 5.25 on the screen: the operator
// reads a wrong sign on money. Each text is drawn without and with its stroke,
// and the picture must gain exactly a short horizontal stroke.
TEST_F(EditorScreen, MinusSignsAndHyphensAreDrawnInTheCells) {
  auto ink_after_refresh = [&](const std::u16string& amount, const std::u16string& name) {
    EXPECT_TRUE(Execute(
        {u"update tbdyjtxmlb set f_jtqd=" + amount + u" where f_jtxmbm='01' and f_cxbm='01'",
         u"update tbdyjtxmda set f_jtxmmc='" + name + u"' where f_jtxmbm='01'"}));
    SetFocus(tree_);
    PressKey('R', /*ctrl=*/true);
    SetFocus(tree_);  // no caret blinking in a cell while the pictures are taken
    PumpPending();
    return std::make_pair(InkOfFirstRow(type_grid_, kRowPitch),
                          InkOfFirstRow(item_grid_, kRowPitch));
  };
  const auto [amount_without, name_without] = ink_after_refresh(u"5.25", u"ab");
  const auto [amount_with, name_with] = ink_after_refresh(u"-5.25", u"a-b");
  EXPECT_GE(StrokeGained(amount_without, amount_with), 2) << "the minus of -5.25 is not drawn";
  EXPECT_GE(StrokeGained(name_without, name_with), 2) << "the hyphen of a-b is not drawn";
  EXPECT_TRUE(watcher_.boxes().empty());
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"signs.bmp"));
}

// The operator sees where they are: the current cell in the selection colour
// with a focus rectangle while its grid has the focus, grey without it; the
// item whose parameters the vehicle grid shows is tinted across its row.
TEST_F(EditorScreen, TheCurrentCellIsHighlightedAndTheCurrentItemRowTinted) {
  const COLORREF selection = GetSysColor(COLOR_HIGHLIGHT);
  ClickFirstCell(type_grid_);
  PumpPending();
  Picture focused = TakePicture(type_grid_);
  EXPECT_GT(focused.CountColour(RowTop(1), RowTop(2), selection), 100);
  EXPECT_EQ(focused.CountColour(RowTop(2), RowTop(3), selection), 0) << "one cell is current";
  EXPECT_EQ(focused.CountColour(0, focused.height(), kQuietHighlight), 0);
  // Its focus rectangle: every other pixel of the line just inside the
  // cell's top edge inverted.
  const COLORREF inverted = selection ^ 0xFFFFFF;
  const int focus_line = RowTop(1) + 1;
  EXPECT_GT(focused.CountColour(focus_line, focus_line + 1, inverted), 10);
  EXPECT_GT(focused.CountColour(focus_line, focus_line + 1, selection), 10);

  Picture items = TakePicture(item_grid_);
  EXPECT_GT(items.CountColour(RowTop(1), RowTop(2), kCurrentItemTint), 100);
  EXPECT_EQ(items.CountColour(RowTop(2), RowTop(3), kCurrentItemTint), 0);

  SetFocus(tree_);
  PumpPending();
  Picture unfocused = TakePicture(type_grid_);
  EXPECT_EQ(unfocused.CountColour(0, unfocused.height(), selection), 0);
  EXPECT_GT(unfocused.CountColour(RowTop(1), RowTop(2), kQuietHighlight), 100);
  EXPECT_EQ(unfocused.CountColour(focus_line, focus_line + 1, inverted), 0);

  // Moving down the items moves the tint with the current row.
  ClickFirstCell(item_grid_);
  PressKey(VK_DOWN);
  SetFocus(tree_);
  PumpPending();
  items = TakePicture(item_grid_);
  EXPECT_EQ(items.CountColour(RowTop(1), RowTop(2), kCurrentItemTint), 0);
  EXPECT_GT(items.CountColour(RowTop(2), RowTop(3), kCurrentItemTint), 100);
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"current.bmp"));
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

// The clipboard as another program leaves it: CF_UNICODETEXT, set and read
// with the system's own calls.
void SetClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(block, nullptr);
  std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(block)));
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

std::wstring Clipboard() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<not open>";
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(block));
    GlobalUnlock(block);
  }
  CloseClipboard();
  return text;
}

void CALLBACK PasteIntoTheAddDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TypeText(L"15");
  PressKey('A', /*ctrl=*/true);
  PressKey('C', /*ctrl=*/true);
  PressKey(VK_END);
  PressKey(VK_RETURN);  // on to the name
  SetClipboard(L"节日\x16加班\t\x01\r\n");
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

TEST_F(EditorScreen, ControlCharactersPastedIntoANameCellNeverReachTheDatabase) {
  // Column 1 starts after the 60-pixel code column and its line.
  ClickAt(item_grid_, {61 + 20, kRowPitch + kRowPitch / 2});
  SetClipboard(L"配送\x16津贴\x01\r\n");
  PressKey('V', /*ctrl=*/true);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"配送津贴")) << "a cell just entered is replaced";
  // With the caret in the text (at its end), a paste goes in at the caret.
  PressKey(VK_F2);
  PressKey(VK_INSERT, /*ctrl=*/false, /*shift=*/true);
  EXPECT_EQ(EditText(item_grid_), std::wstring(L"配送津贴配送津贴"));
  PressKey('A', /*ctrl=*/true);
  PressKey('C', /*ctrl=*/true);
  EXPECT_EQ(Clipboard(), L"配送津贴配送津贴");

  // A parameter that is not a number: refused whole, naming the cell.
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  const std::optional<std::wstring> before = EditText(type_grid_);
  SetClipboard(L"-5");
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
  ClickAt(item_grid_, {61 + 20, RowTop(1) + kRowPitch / 2});
  TypeText(thirty_bytes);
  EXPECT_EQ(beeps.beeps(), 0);
  TypeText(L"x");
  EXPECT_EQ(EditText(item_grid_), thirty_bytes) << "the 31st byte is not taken";
  EXPECT_EQ(beeps.beeps(), 1);
  EXPECT_TRUE(watcher_.boxes().empty());

  ClickAt(item_grid_, {61 + 20, RowTop(2) + kRowPitch / 2});
  const std::optional<std::wstring> before = EditText(item_grid_);
  SetClipboard(thirty_bytes + L"x");
  PressKey('V', /*ctrl=*/true);
  ASSERT_EQ(watcher_.boxes().size(), 1u);
  EXPECT_NE(watcher_.boxes()[0].text.find(L"超过了30个字节"), std::wstring::npos);
  EXPECT_EQ(EditText(item_grid_), before) << "nothing of it is taken";

  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(watcher_.boxes().back().text, L"保存成功");
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'"),
            FieldValue(ToCp936(thirty_bytes)));
}

TEST_F(EditorScreen, ANameIsEditedInsideItsCellByClickF2ArrowsHomeEndAndDelete) {
  const FieldValue loaded = ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'");
  const std::wstring name = FromCp936(std::get<std::string>(loaded));
  ASSERT_GE(name.size(), 3u);
  const POINT name_cell{61 + 20, kRowPitch + kRowPitch / 2};
  ClickAt(item_grid_, name_cell);
  HWND edit = FindWindowExW(item_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  // A second click lands in the text at its left: the caret goes before it.
  ClickAt(item_grid_, {61 + 4, kRowPitch + kRowPitch / 2});
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
            FieldValue(ToCp936(want)));
}

TEST_F(EditorScreen, ADragAcrossANameSelectsPartOfItAndTypingReplacesThatPart) {
  const FieldValue loaded = ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='02'");
  const std::wstring name = FromCp936(std::get<std::string>(loaded));
  const int middle = RowTop(2) + kRowPitch / 2;
  ClickAt(item_grid_, {61 + 20, middle});
  HWND edit = FindWindowExW(item_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  DragAt(item_grid_, {61 + 4, middle}, {61 + 4 + 30, middle});
  const auto [start, end] = EditSelection(edit);
  EXPECT_EQ(start, 0u);
  ASSERT_GT(end, 0u);
  ASSERT_LT(end, name.size());
  TypeText(L"甲");
  const std::wstring want = L"甲" + name.substr(end);
  EXPECT_EQ(EditText(item_grid_), want);
  PressKey('S', /*ctrl=*/true);
  EXPECT_EQ(ReadBack(u"select f_jtxmmc from tbdyjtxmda where f_jtxmbm='02'"),
            FieldValue(ToCp936(want)));
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

// The demo database with item 01's 津贴起点 too wide for its 80-pixel cells
// for vehicle types 02 and 03, in every digit different.
class EditorScreenWideNumbers : public EditorScreen {
 protected:
  std::u16string MakeDatabase() override {
    const std::u16string database = MakeDemoDatabase(u"wide.db");
    if (database.empty() || !ExecuteOn(database, {u"update tbdyjtxmlb set f_jtqd=123456789012 "
                                                  u"where f_jtxmbm='01' and f_cxbm='02'",
                                                  u"update tbdyjtxmlb set f_jtqd=987654321098.76 "
                                                  u"where f_jtxmbm='01' and f_cxbm='03'"})) {
      return u"";
    }
    return database;
  }
};

BOOL CALLBACK FindShownTip(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (_wcsicmp(name, TOOLTIPS_CLASSW) != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The tool tip this thread shows, if any.
HWND ShownTip() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindShownTip, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A number too wide for its cell shows as "###", as many '#' as fit, never
// cut to its last digits: two such cells whose numbers differ in every
// digit look the same. Resting the mouse on one shows its whole number in a
// tool tip; a cell whose number fits has none. Its EDIT, once current, holds
// the whole number.
TEST_F(EditorScreenWideNumbers, ANumberTooWideForItsCellShowsHashesAndItsTipTheWholeNumber) {
  SetFocus(tree_);
  PumpPending();
  const Picture picture = TakePicture(type_grid_);
  auto cell_pixels = [&](int row) {
    std::vector<COLORREF> pixels;
    for (int y = RowTop(row); y < RowTop(row) + kRowPitch - 1; ++y) {
      for (int x = 139; x < 139 + 80; ++x) pixels.push_back(picture.Pixel(x, y));
    }
    return pixels;
  };
  EXPECT_EQ(cell_pixels(2), cell_pixels(3)) << "digits of the numbers are drawn";
  EXPECT_NE(cell_pixels(1), cell_pixels(2)) << "10.00 fits and is drawn";
  // The ink spans the cell: as many '#' as fit in its 76 pixels of text.
  HWND edit = FindWindowExW(type_grid_, nullptr, L"EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SIZE hash{};
  GetTextExtentPoint32W(dc, L"#", 1, &hash);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int leftmost = -1;
  for (int x = 139; x < 139 + 80 && leftmost < 0; ++x) {
    for (int y = RowTop(2); y < RowTop(2) + kRowPitch - 1; ++y) {
      if (picture.Brightness(x, y) < kInkBrightness) leftmost = x;
    }
  }
  ASSERT_GE(leftmost, 0) << "the cell shows nothing";
  EXPECT_GE(leftmost, 139 + 2);
  EXPECT_LE(leftmost, 139 + 2 + hash.cx) << "fewer '#' than fit";
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"hashes.bmp"));

  MoveMouseTo(type_grid_, TypeGridCell(2, 2));
  ASSERT_TRUE(PumpUntil([] { return ShownTip() != nullptr; }, 5000)) << "no tool tip shows";
  HWND tip = ShownTip();
  EXPECT_EQ(WindowText(tip), L"123456789012.00");
  RECT area{};
  GetWindowRect(type_grid_, &area);
  RECT tip_place{};
  GetWindowRect(tip, &tip_place);
  UnionRect(&area, &area, &tip_place);
  EXPECT_TRUE(SavePicture(TakeScreenPicture(area), Wide(ScratchFolder()) + L"hashes_tip.bmp"));
  MoveMouseTo(type_grid_, TypeGridCell(2, 3));
  ASSERT_TRUE(PumpUntil(
      [] { return ShownTip() != nullptr && WindowText(ShownTip()) == L"987654321098.76"; }, 5000))
      << "the tip follows the mouse to the next such cell";
  MoveMouseTo(type_grid_, TypeGridCell(2, 1));
  EXPECT_FALSE(PumpUntil([] { return ShownTip() != nullptr; }, 2000))
      << "a tip over a number that fits";

  ClickAt(type_grid_, TypeGridCell(2, 2));
  PressKey(VK_F2);
  EXPECT_EQ(EditText(type_grid_), std::wstring(L"123456789012.00"));
  EXPECT_TRUE(watcher_.boxes().empty());
}

// The editor on 1,000 items of 100 vehicle types each.
class EditorScreenLarge : public EditorScreen {
 protected:
  std::u16string MakeDatabase() override { return MakeLargeDatabase(u"large.db"); }
};

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
    ClickFirstCell(type_grid_);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
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

// Typing keeps up on a large database: each keystroke into a parameter costs
// the time from its key messages in the queue to the end of the cell's
// repaint. The figures are printed, never checked (they depend on the
// machine); what is checked is that each time covers its whole keystroke.
TEST_F(EditorScreenLarge, TypingIntoAParameterIsTimedPerKeystroke) {
  ClickFirstCell(type_grid_);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  ASSERT_EQ(EditText(type_grid_), std::wstring(L"0.00"));
  HWND edit = FindWindowExW(type_grid_, nullptr, L"EDIT", nullptr);
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  std::vector<double> milliseconds;
  std::wstring typed;
  for (int i = 0; i < 200; ++i) {
    const wchar_t digit = static_cast<wchar_t>(L'0' + i % 10);
    // From the key messages waiting in the queue, so that the cost of making
    // the input is not counted.
    QueueText(std::wstring(1, digit));
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    PumpPending();
    UpdateWindow(type_grid_);
    UpdateWindow(edit);
    LARGE_INTEGER end{};
    QueryPerformanceCounter(&end);
    milliseconds.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart));
    typed.push_back(digit);
    // Each time covers its own keystroke to the end: handled, shown and
    // painted, nothing of it left for the next one.
    ASSERT_EQ(EditText(type_grid_), typed);
    ASSERT_FALSE(GetUpdateRect(type_grid_, nullptr, FALSE));
    ASSERT_FALSE(GetUpdateRect(edit, nullptr, FALSE));
  }
  EXPECT_EQ(EditText(type_grid_), typed);
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf(
      "typing into the vehicle grid, 100,000 parameter rows: median %.2f ms, "
      "95th percentile %.2f ms over %zu keystrokes\n",
      milliseconds[milliseconds.size() / 2], milliseconds[milliseconds.size() * 95 / 100],
      milliseconds.size());
  std::fflush(stdout);
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"large.bmp"));
}

}  // namespace
}  // namespace tarnvex::testing
