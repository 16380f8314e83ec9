// The editor's own keys: one table that the shortcut guide lists, the
// keyboard hook asks and the form runs.

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/key_bindings.h"
#include "editor/subsidy_set_form.h"
#include "support/editor_harness.h"
#include "support/scripted_host.h"

namespace tarnvex {
namespace {

using testing::EditorHarness;
using ::testing::ElementsAre;
using testing::ScriptedHost;

TEST(KeyBindings, TheGuideListsTheKeysAsOperatorsKnowThem) {
  EXPECT_THAT(ShortcutGuideLines(),
              ElementsAre("快捷键指南", "", "     CTR+D   : 删除", "     CTR+S   : 保存",
                          "     CTR+R   : 刷新", "     F1      : 帮助", "     ESC     : 退出"));
}

TEST(KeyBindings, EachKeyRunsItsButtonAndOtherKeysGoToTheControl) {
  auto host = std::make_shared<ScriptedHost>();
  testing::ScriptCatalogue(*host, {{"A1", "甲", "c1"}}, {}, {"01"});
  EditorHarness harness(host);
  TfrmSubsidySet& editor = harness.Open();
  std::vector<std::string> clicked;
  for (ToolButton* button :
       {&editor.TbnSave, &editor.TbnDelRow, &editor.btnRefresh, &editor.btnhand, &editor.TbnExit}) {
    button->OnClick = [&clicked, button] { clicked.push_back(button->caption()); };
  }
  struct Press {
    KeyCode key;
    bool ctrl;
  };
  for (const Press press : {Press{'S', true}, Press{'D', true}, Press{'R', true},
                            Press{kKeyF1, false}, Press{kKeyEscape, false}}) {
    EXPECT_TRUE(editor.TakesFormKey(press.key, press.ctrl));
    EXPECT_TRUE(editor.FormKeyDown(press.key, press.ctrl));
  }
  EXPECT_THAT(clicked, ElementsAre("保  存", "删  行", "刷　新", "助  手", "退  出"));

  for (const Press press : {Press{'S', false}, Press{'A', true}, Press{kKeyF2, false},
                            Press{kKeyTab, true}, Press{kKeyEscape, true}}) {
    EXPECT_FALSE(editor.TakesFormKey(press.key, press.ctrl)) << press.key;
    EXPECT_FALSE(editor.FormKeyDown(press.key, press.ctrl)) << press.key;
  }
  EXPECT_EQ(clicked.size(), 5u);

  // Tab and Shift+Tab go round the tree and the grids.
  editor.Screen.SetFocus(editor.TreeNT);
  EXPECT_TRUE(editor.FormKeyDown(kKeyTab, false));
  EXPECT_EQ(editor.Screen.focused(), &editor.cgdArc);
  EXPECT_TRUE(editor.FormKeyDown(kKeyTab, false, true));
  EXPECT_EQ(editor.Screen.focused(), &editor.TreeNT);
}

}  // namespace
}  // namespace tarnvex
