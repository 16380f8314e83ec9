// Blocks of cells to and from a spreadsheet through the system clipboard:
// selected by the mouse and by keys, copied, pasted whole or refused whole,
// taken back and saved.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "wine/clipboard.h"
#include "wine/editor_screen.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

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
  EXPECT_EQ(ClipboardText(), L"10.00\t60.00\t15.00\r\n14.00\t100.00\t25.00");

  // A click ends the block.
  ClickAt(type_grid_, TypeGridCell(2, 3));
  PumpPending();
  EXPECT_EQ(TakePicture(type_grid_).CountColour(0, 400, kBlockTint), 0);

  // A click into the current cell would put the caret into its text, where
  // Shift and the arrows select text: the name cell first, then the code.
  ClickAt(item_grid_, NameCell(1));
  ClickFirstCell(item_grid_);
  PressKey(VK_RIGHT, /*ctrl=*/false, /*shift=*/true);
  PressKey(VK_RIGHT, /*ctrl=*/false, /*shift=*/true);
  PressKey(VK_DOWN, /*ctrl=*/false, /*shift=*/true);
  PumpPending();
  EXPECT_GT(TakePicture(item_grid_).CountColour(RowTop(1), RowTop(3), kBlockTint), 100);
  PressKey('C', /*ctrl=*/true);
  EXPECT_EQ(ClipboardText(), L"01\t整件配送补助\t计件\r\n02\t分装拣货补助\t计件");
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

}  // namespace
}  // namespace tarnvex::testing
