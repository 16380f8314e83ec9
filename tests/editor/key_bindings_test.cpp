// The editor's own keys: one table that the shortcut guide lists, the
// keyboard hook asks and the form runs.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/grid_columns.h"
#include "editor/key_bindings.h"
#include "editor/subsidy_set_form.h"
#include "support/editor_harness.h"
#include "support/scripted_host.h"

namespace tarnvex {
namespace {

using ::testing::Contains;
using testing::EditorHarness;
using ::testing::ElementsAre;
using testing::ScriptedHost;

TEST(KeyBindings, TheGuideListsEveryKeyWithCtrlInFull) {
  const std::vector<std::string> lines = ShortcutGuideLines();
  EXPECT_EQ(lines.front(), "快捷键指南");
  EXPECT_THAT(lines, Contains("  Ctrl+N, Insert        : 增加津贴项目"));
  EXPECT_THAT(lines, Contains("  Ctrl+S                : 保存所有修改"));
  EXPECT_THAT(lines, Contains("  Esc                   : 退出"));
  EXPECT_THAT(lines, Contains("  Ctrl+V, Shift+Insert  : 粘贴(全部或全不)"));
  // Every key the form takes is listed, and none as the old "CTR+".
  for (const KeyBinding& binding : kKeyBindings) {
    const std::string listed = binding.text;
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(listed) != std::string::npos;
    })) << listed;
  }
  for (const std::string& line : lines) EXPECT_EQ(line.find("CTR+"), std::string::npos) << line;
}

TEST(KeyBindings, AToolButtonsTipSaysWhatItDoesAndItsKey) {
  EXPECT_EQ(CommandTip(EditorCommand::kSave), "保存所有修改 (Ctrl+S)");
  EXPECT_EQ(CommandTip(EditorCommand::kAdd), "增加津贴项目 (Ctrl+N)");
}

TEST(KeyBindings, EachKeyRunsItsButtonAndOtherKeysGoToTheControl) {
  auto host = std::make_shared<ScriptedHost>();
  testing::ScriptCatalogue(*host, {{"A1", "甲", "c1"}}, {}, {"01"});
  EditorHarness harness(host);
  TfrmSubsidySet& editor = harness.Open();
  std::vector<std::string> clicked;
  for (ToolButton* button : {&editor.btnAdd, &editor.TbnSave, &editor.TbnDelRow, &editor.btnRefresh,
                             &editor.btnhand, &editor.TbnExit}) {
    button->OnClick = [&clicked, button] { clicked.push_back(button->caption()); };
  }
  struct Press {
    KeyCode key;
    bool ctrl;
  };
  for (const Press press : {Press{'N', true}, Press{'S', true}, Press{'D', true}, Press{'R', true},
                            Press{kKeyF1, false}, Press{kKeyEscape, false}}) {
    EXPECT_TRUE(editor.TakesFormKey(press.key, press.ctrl));
    EXPECT_TRUE(editor.FormKeyDown(press.key, press.ctrl));
  }
  EXPECT_THAT(clicked, ElementsAre("增  加", "保  存", "删  行", "刷　新", "助  手", "退  出"));

  for (const Press press : {Press{'S', false}, Press{'A', true}, Press{kKeyF2, false},
                            Press{kKeyTab, true}, Press{kKeyEscape, true}}) {
    EXPECT_FALSE(editor.TakesFormKey(press.key, press.ctrl)) << press.key;
    EXPECT_FALSE(editor.FormKeyDown(press.key, press.ctrl)) << press.key;
  }
  EXPECT_EQ(clicked.size(), 6u);

  // Insert adds an item from the item grid only, and not while a cell is
  // edited; Shift+Insert stays the grid's paste.
  clicked.clear();
  editor.Screen.SetFocus(editor.cgdType);
  EXPECT_FALSE(editor.FormKeyDown(kKeyInsert, false));
  editor.Screen.SetFocus(editor.cgdArc);
  EXPECT_FALSE(editor.TakesFormKey(kKeyInsert, false, true));
  EXPECT_TRUE(editor.FormKeyDown(kKeyInsert, false));
  editor.cgdArc.MoveTo(kItemGridNameColumn, 1);
  editor.cgdArc.PressKey(kKeyF2);
  ASSERT_TRUE(editor.cgdArc.editing());
  EXPECT_FALSE(editor.FormKeyDown(kKeyInsert, false));
  EXPECT_THAT(clicked, ElementsAre("增  加"));
  editor.cgdArc.PressKey(kKeyEscape);

  // Tab and Shift+Tab go round the tree and the grids.
  editor.Screen.SetFocus(editor.TreeNT);
  EXPECT_TRUE(editor.FormKeyDown(kKeyTab, false));
  EXPECT_EQ(editor.Screen.focused(), &editor.cgdArc);
  EXPECT_TRUE(editor.FormKeyDown(kKeyTab, false, true));
  EXPECT_EQ(editor.Screen.focused(), &editor.TreeNT);
}

}  // namespace
}  // namespace tarnvex
