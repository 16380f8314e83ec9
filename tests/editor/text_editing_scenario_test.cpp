// Editing text as in any Windows program, headless, against the stand-in on a
// SQLite file with the demo data, in both SQL dialects: the clipboard keys in
// the add dialog and in the grids' cells, control characters that never reach
// the database, a paste the cell's key filter refuses, editing inside a cell.
// The database is read after every save.

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/add_subsidy_dialog.h"
#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "support/demo_database.h"
#include "support/editor_scenario.h"
#include "support/grid_columns.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using namespace testing;  // the grids' named columns (support/grid_columns.h)
using testing::DialectScenario;
using ::testing::ElementsAre;

bool HasControlCharacter(const std::string& text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

class TextEditingScenario : public DialectScenario {
 protected:
  // Ctrl+S, answered Yes, and the save succeeds.
  void SaveSuccessfully(TfrmSubsidySet& editor) {
    Save(editor);
    EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  }

  HeadlessPlatform& platform() { return harness_.platform; }
};

// Windows sends Ctrl+A, Ctrl+C and Ctrl+V as the key and then its control
// character (1, 3, 0x16); the character was once saved into a name.
TEST_P(TextEditingScenario, ClipboardKeysInTheAddDialogLeaveNoControlCharacterInTheDatabase) {
  TfrmSubsidySet& editor = Open();
  harness_.OnAddDialog([this](TfrmAddSubsidy& dialog) {
    dialog.edtItemNo.TypeText(
        "1\x16"
        "4");
    dialog.edtItemNo.PressKey('A', kCtrlHeld);
    dialog.edtItemNo.TypeChar('\x01');
    dialog.edtItemNo.PressKey('C', kCtrlHeld);
    dialog.edtItemNo.TypeChar('\x03');
    EXPECT_EQ(platform().ClipboardText(), "14");
    dialog.edtItemNo.PressKey(kKeyEnd);
    platform().SetClipboardText("新\x16项目\t\x01\r\n");
    dialog.edtItemName.PressKey('V', kCtrlHeld);
    dialog.edtItemName.TypeChar('\x16');
    dialog.edtItemName.PressKey(kKeyInsert, kShiftHeld);
    dialog.btnOk.Click();
  });
  editor.btnAdd.Click();
  SaveSuccessfully(editor);
  const std::string name = StoredName("14");
  EXPECT_EQ(name, "新项目新项目");
  EXPECT_FALSE(HasControlCharacter(name));
}

TEST_P(TextEditingScenario, ANameEditedInsideItsCellIsSavedAsEdited) {
  TfrmSubsidySet& editor = Open();
  ASSERT_EQ(editor.cgdArc.Cells(kItemGridCodeColumn, 1), "01");
  const std::string before = editor.cgdArc.Cells(kItemGridNameColumn, 1);
  editor.cgdArc.ClickCell(kItemGridNameColumn, 1);
  editor.cgdArc.ClickCell(kItemGridNameColumn, 1);  // into the text
  ASSERT_TRUE(editor.cgdArc.caret_mode());
  editor.cgdArc.PressKey(kKeyHome);
  editor.cgdArc.PressKey(kKeyDelete);
  editor.cgdArc.TypeText("新");
  editor.cgdArc.PressKey(kKeyEnd);
  editor.cgdArc.TypeText(
      "\x16"
      "乙");
  editor.cgdArc.PressKey(kKeyLeft, kShiftHeld);
  editor.cgdArc.PressKey('C', kCtrlHeld);
  editor.cgdArc.PressKey(kKeyRight);
  editor.cgdArc.PressKey(kKeyInsert, kShiftHeld);
  const std::string want = "新" + before.substr(2) + "乙乙";
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, 1), want);
  editor.cgdArc.PressKey(kKeyRight);  // at the end: leaves the cell
  EXPECT_EQ(editor.cgdArc.Col(), kItemGridCategoryColumn);
  SaveSuccessfully(editor);
  EXPECT_EQ(StoredName("01"), want);
}

TEST_P(TextEditingScenario, EscPutsBackTheNameAndNothingIsSaved) {
  TfrmSubsidySet& editor = Open();
  const std::string before = StoredName("01");
  editor.cgdArc.ClickCell(kItemGridNameColumn, 1);
  editor.cgdArc.TypeText("改");
  editor.cgdArc.PressKey(kKeyF2);
  editor.cgdArc.PressKey(kKeyHome);
  editor.cgdArc.TypeText("再");
  EXPECT_FALSE(editor.FormKeyDown(kKeyEscape, false, false)) << "Esc is the grid's while editing";
  editor.cgdArc.PressKey(kKeyEscape);
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, 1), before);
  SaveSuccessfully(editor);
  EXPECT_EQ(StoredName("01"), before);
}

TEST_P(TextEditingScenario, APastedParameterThatIsNotANumberIsRefusedNamingTheCell) {
  TfrmSubsidySet& editor = Open();
  const std::string sql = "select f_jsqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'";
  const double before = database_.Number(sql);
  ASSERT_EQ(editor.cgdType.Cells(kVehicleGridCodeColumn, 1), "01");
  editor.cgdType.ClickCell(kPieceStartColumn, 1);
  const std::string shown = editor.cgdType.Cells(kPieceStartColumn, 1);
  editor.cgdType.TypeText("-");  // discarded by the key filter, with the beep
  EXPECT_EQ(platform().beeps(), 1);
  EXPECT_EQ(editor.cgdType.Cells(kPieceStartColumn, 1), shown);
  // Pasted over the cell, and into its text with the caret in it (F2): the
  // same refusal, the cell unchanged.
  for (bool into_text : {false, true}) {
    for (const char* refused : {"-5", "1e3\r\n", "12,5"}) {
      if (into_text) editor.cgdType.PressKey(kKeyF2);
      platform().SetClipboardText(refused);
      editor.cgdType.PressKey('V', kCtrlHeld);
      editor.cgdType.PressKey(kKeyEscape);
      EXPECT_EQ(editor.cgdType.Cells(kPieceStartColumn, 1), shown) << refused;
      std::string text = refused;
      if (text.ends_with("\r\n")) text.resize(text.size() - 2);
      EXPECT_THAT(
          harness_.TakeBoxTexts(),
          ElementsAre("粘贴被取消：项目编码“01”车型编码“01”的“件数起点”只能输入数字和小数点：“" +
                      text + "”"))
          << into_text;
    }
  }
  SaveSuccessfully(editor);
  EXPECT_DOUBLE_EQ(database_.Number(sql), before);

  platform().SetClipboardText("7.25\r\n");
  editor.cgdType.ClickCell(kPieceStartColumn, 1);
  editor.cgdType.PressKey(kKeyF2);
  editor.cgdType.PressKey('A', kCtrlHeld);
  editor.cgdType.PressKey(kKeyInsert, kShiftHeld);
  EXPECT_TRUE(harness_.TakeBoxTexts().empty());
  SaveSuccessfully(editor);
  EXPECT_DOUBLE_EQ(database_.Number(sql), 7.25);
}

INSTANTIATE_TEST_SUITE_P(BothDialects, TextEditingScenario, kBothDialects, DialectName);

}  // namespace
}  // namespace tarnvex
