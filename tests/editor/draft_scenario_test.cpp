// The draft of unsaved work, headless against the stand-in on a SQLite file:
// written while the operator edits, kept when the host closes the editor,
// offered back at the next opening, removed by a save or a discard.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/add_subsidy_dialog.h"
#include "editor/data_model.h"
#include "editor/draft_file.h"
#include "editor/subsidy_set_form.h"
#include "host/file_bytes.h"
#include "support/demo_database.h"
#include "support/editor_harness.h"
#include "support/editor_scenario.h"
#include "support/grid_columns.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using namespace testing;  // the grids' named columns (support/grid_columns.h)
using testing::EditorHarness;
using testing::EditorScenario;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr char kRestoreQuestion[] = "发现上次未保存的修改,是否恢复?";

class DraftScenario : public EditorScenario {
 protected:
  // The host takes its window down with the editor in it.
  void HostCloses() {
    file_ = harness_.editor().draft_file();
    harness_.Destroy();
  }
  bool DraftExists() { return std::filesystem::exists(harness_.editor().draft_file()); }

  std::filesystem::path file_;
};

// An edit typed, the host closed before the draft's second was up: the edit
// is in the draft all the same; Yes at the next opening puts it back as an
// unsaved edit, and the save writes it and removes the draft.
TEST_F(DraftScenario, AnEditPendingWhenTheHostClosesIsOfferedBackAndSaved) {
  TfrmSubsidySet& first = Open();
  EXPECT_FALSE(first.DraftTimer.enabled());
  Type(first.cgdType, kAllowanceStartColumn, 2, "77");
  Type(first.cgdArc, kItemGridNameColumn, 3, "草稿里的名称");
  EXPECT_TRUE(first.DraftTimer.enabled());
  first.DraftTimer.Elapse();
  EXPECT_FALSE(first.DraftTimer.enabled());
  EXPECT_TRUE(DraftExists());
  Type(first.cgdArc, kItemGridNameColumn, 4, "关闭前刚改的");
  harness_.TakeBoxes();
  HostCloses();

  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  TfrmSubsidySet& editor = Open();
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre(kRestoreQuestion));
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, 3), "草稿里的名称");
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, 4), "关闭前刚改的");
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceStartColumn, 2), "77.00");
  EXPECT_TRUE(editor.HasUnsavedChanges());
  EXPECT_EQ(StoredName("03"), "卸货搬运补助");

  Save(editor);
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(StoredName("03"), "草稿里的名称");
  EXPECT_EQ(StoredName("04"), "关闭前刚改的");
  EXPECT_EQ(StoredParameter("f_jtqd", "01", "02"), 77);
  EXPECT_FALSE(DraftExists());
  HostCloses();
  EXPECT_FALSE(std::filesystem::exists(file_));
}

// No at the opening deletes the draft; No to the unsaved-changes question
// and a save delete it too; an edit typed back to what was loaded leaves no
// draft behind.
TEST_F(DraftScenario, ADeliberateDiscardOrASaveRemovesTheDraft) {
  TfrmSubsidySet& editor = Open();
  Type(editor.cgdArc, kItemGridNameColumn, 3, "改了");
  editor.DraftTimer.Elapse();
  ASSERT_TRUE(DraftExists());
  Type(editor.cgdArc, kItemGridNameColumn, 3, "卸货搬运补助");
  editor.DraftTimer.Elapse();
  EXPECT_FALSE(DraftExists());

  Type(editor.cgdArc, kItemGridNameColumn, 3, "改了");
  HostCloses();
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  TfrmSubsidySet& reopened = Open();
  EXPECT_FALSE(DraftExists());
  EXPECT_EQ(reopened.cgdArc.Cells(kItemGridNameColumn, 3), "卸货搬运补助");

  Type(reopened.cgdArc, kItemGridNameColumn, 3, "又改了");
  reopened.DraftTimer.Elapse();
  ASSERT_TRUE(DraftExists());
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  reopened.FormKeyDown('R', true);
  EXPECT_FALSE(DraftExists());
  EXPECT_EQ(reopened.cgdArc.Cells(kItemGridNameColumn, 3), "卸货搬运补助");
  HostCloses();
  EXPECT_FALSE(std::filesystem::exists(file_));
}

// A draft of work over records that another operator saved meanwhile goes
// through the save's question; an item added in the draft comes back with
// its node and its parameter rows.
TEST_F(DraftScenario, RestoredEditsOverOthersSavesAskAtTheSaveAndAddedItemsComeBack) {
  TfrmSubsidySet& editor = Open();
  Type(editor.cgdArc, kItemGridNameColumn, 5, "甲的草稿");
  harness_.AnswerAddDialog("31", "草稿新增");
  editor.btnAdd.Click();
  HostCloses();
  database_.Execute("update tbdyjtxmda set f_jtxmmc='乙保存的' where f_jtxmbm='05'");

  harness_.TakeBoxes();
  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  TfrmSubsidySet& reopened = Open();
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre(kRestoreQuestion));
  EXPECT_EQ(reopened.cgdArc.Cells(kItemGridNameColumn, 5), "甲的草稿");
  bool node = false;
  for (TreeNode* tree_node : reopened.TreeNT.AllNodes())
    node = node || tree_node->text() == "31 草稿新增";
  EXPECT_TRUE(node);

  Save(reopened, {MessageAnswer::kNo});
  const std::vector<std::string> asked = harness_.TakeBoxTexts();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_THAT(asked[1], HasSubstr("05 甲的草稿 已被修改"));
  EXPECT_THAT(asked[1], Not(HasSubstr("31 ")));
  EXPECT_EQ(StoredName("05"), "乙保存的");

  Save(reopened, {MessageAnswer::kYes});
  EXPECT_EQ(StoredName("05"), "甲的草稿");
  EXPECT_EQ(StoredName("31"), "草稿新增");
  EXPECT_EQ(database_.Text("select count(*) from tbdyjtxmlb where f_jtxmbm='31'"), "7");
}

// A parameter still being typed that is no number yet keeps its row out of
// the draft, not the other edits, and the draft stays due until it is one.
TEST_F(DraftScenario, ANumberNotYetWholeLeavesTheRestOfTheWorkInTheDraft) {
  TfrmSubsidySet& editor = Open();
  Type(editor.cgdArc, kItemGridNameColumn, 3, "先改的名称");
  editor.cgdType.MoveTo(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText(".");
  editor.DraftTimer.Elapse();
  EXPECT_TRUE(editor.DraftTimer.enabled());
  HostCloses();

  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  TfrmSubsidySet& reopened = Open();
  EXPECT_EQ(reopened.cgdArc.Cells(kItemGridNameColumn, 3), "先改的名称");
  EXPECT_EQ(reopened.cgdType.Cells(kAllowanceStartColumn, 1), "10.00");
}

// The same operator in two hosts: each keeps a draft of its own, neither is
// offered the other's while that one runs, and a save in one leaves the
// other's alone; once a host is gone its draft is offered.
TEST_F(DraftScenario, TheSameOperatorInTwoHostsKeepsTwoDraftsApart) {
  TfrmSubsidySet& first = Open();
  Type(first.cgdArc, kItemGridNameColumn, 3, "第一个窗口");
  first.DraftTimer.Elapse();
  EditorHarness second_host(database_.service(), harness_);
  TfrmSubsidySet& second = second_host.Open();
  EXPECT_THAT(second_host.TakeBoxTexts(), IsEmpty()) << "the first host is still at work";
  EXPECT_NE(second.draft_file(), first.draft_file());
  Type(second.cgdArc, kItemGridNameColumn, 5, "第二个窗口");
  second_host.platform.ScriptAnswer(MessageAnswer::kYes);
  second.FormKeyDown('S', true);
  EXPECT_TRUE(std::filesystem::exists(first.draft_file()));

  // A draft kept by another process that still runs is left alone too.
  const std::filesystem::path file = first.draft_file();
  Draft draft = ParseDraft(ReadFileBytes(file).value());
  draft.process_id = 77;
  HostCloses();
  ASSERT_EQ(ReplaceFileBytes(file, SerializeDraft(draft)), "");
  harness_.platform.set_process_running(77);
  Open();
  EXPECT_THAT(harness_.TakeBoxTexts(), IsEmpty());
  HostCloses();

  // Its process gone, the work is offered.
  EditorHarness third_host(database_.service(), harness_);
  third_host.platform.ScriptAnswer(MessageAnswer::kYes);
  TfrmSubsidySet& third = third_host.Open();
  EXPECT_THAT(third_host.TakeBoxTexts(), ElementsAre(kRestoreQuestion));
  EXPECT_EQ(third.cgdArc.Cells(kItemGridNameColumn, 3), "第一个窗口");
  EXPECT_EQ(third.cgdArc.Cells(kItemGridNameColumn, 5), "第二个窗口");
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(std::filesystem::exists(third.draft_file())) << "kept as its own at once";
}

// A damaged draft never stops the opening: it is reported and set aside.
TEST_F(DraftScenario, ADamagedDraftIsReportedAndSetAside) {
  TfrmSubsidySet& editor = Open();
  Type(editor.cgdArc, kItemGridNameColumn, 3, "改了");
  editor.DraftTimer.Elapse();
  const std::filesystem::path file = editor.draft_file();
  std::string bytes = ReadFileBytes(file).value();
  HostCloses();

  const std::vector<std::string> damages = {bytes.substr(0, bytes.size() / 2), "not a draft",
                                            bytes.substr(0, bytes.size() - 1) + "!"};
  for (const std::string& damaged : damages) {
    harness_.TakeBoxes();
    ASSERT_EQ(ReplaceFileBytes(file, damaged), "");
    TfrmSubsidySet& reopened = Open();
    const std::vector<std::string> boxes = harness_.TakeBoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_THAT(boxes[0], HasSubstr("上次未保存的修改无法恢复"));
    EXPECT_FALSE(std::filesystem::exists(file));
    std::filesystem::path aside = file;
    aside += ".damaged";
    EXPECT_EQ(ReadFileBytes(aside), damaged);
    EXPECT_EQ(reopened.cgdArc.Cells(kItemGridNameColumn, 3), "卸货搬运补助");
    EXPECT_FALSE(reopened.HasUnsavedChanges());
  }
}

}  // namespace
}  // namespace tarnvex
