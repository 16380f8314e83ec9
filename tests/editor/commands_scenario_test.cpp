// The tool bar's commands and their keys, headless, against the stand-in
// service on a SQLite file with the demo data, in both SQL dialects: save,
// add, delete, refresh, the shortcut guide and the busy window.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/add_subsidy_dialog.h"
#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "host/record_table.h"
#include "host/sql_dialect.h"
#include "support/demo_database.h"
#include "support/editor_harness.h"
#include "support/editor_scenario.h"
#include "support/grid_columns.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using namespace testing;  // the grids' named columns (support/grid_columns.h)
using ::testing::Contains;
using testing::DemoDatabase;
using testing::DialectScenario;
using testing::EditorHarness;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr size_t kDemoItems = 12;
constexpr size_t kDemoParameterRows = 12 * 7;

// The stand-in service, watched: the batches sent, the busy window while the
// host works, and on request a refusal of every statement.
class WatchedService : public HostDataService {
 public:
  explicit WatchedService(std::shared_ptr<HostDataService> inner) : inner_(std::move(inner)) {}

  Variant GetDatabaseKind() override { return inner_->GetDatabaseKind(); }
  bool ExecuteQuery(const Variant& sql, Variant& result) override {
    return inner_->ExecuteQuery(sql, result);
  }
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override {
    return inner_->CheckRight(operator_code, function_code);
  }
  bool ExecuteStatement(Variant& statements) override {
    if (statements.kind() == Variant::Kind::kArray) {
      batch_sizes.push_back(statements.as_array().elements.size());
    } else if (statements.is_empty()) {
      batch_sizes.push_back(0);  // a batch without statements
    }
    if (on_statement) on_statement();
    if (refuse) {
      statements = Variant(VariantArray{0, {Variant(u"第一行"), Variant(u"second line")}});
      return false;
    }
    return inner_->ExecuteStatement(statements);
  }

  std::vector<size_t> batch_sizes;
  std::function<void()> on_statement;
  bool refuse = false;

 private:
  std::shared_ptr<HostDataService> inner_;
};

class CommandScenario : public DialectScenario {
 protected:
  CommandScenario() { harness_.UseService(service_); }

  size_t DatabaseCount(const std::string& table) {
    return database_.Query("select * from " + table).row_count();
  }

  std::shared_ptr<WatchedService> service_ = std::make_shared<WatchedService>(database_.service());
};

TEST_P(CommandScenario, EditsAreSavedAsOneBatchAndReadBackFromTheDatabase) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kPieceStartColumn, 1);
  editor.cgdType.TypeText("1234.567");
  editor.cgdArc.SetCells(kItemGridNameColumn, 1, "it's 新名称");
  bool busy_while_sending = false;
  service_->on_statement = [&] {
    busy_while_sending = editor.busy_window() != nullptr &&
                         editor.busy_window()->Label1.Caption == "正在保存数据,请稍候...";
  };

  Save(editor);

  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  // The edited item and the edited parameter row, nothing else.
  EXPECT_THAT(service_->batch_sizes, ElementsAre(2));
  EXPECT_TRUE(busy_while_sending);
  EXPECT_EQ(editor.busy_window(), nullptr);
  EXPECT_THAT(harness_.platform.busy_texts(), ElementsAre("正在保存数据,请稍候..."));
  EXPECT_EQ(harness_.platform.busy_windows_hidden(), 1);
  EXPECT_DOUBLE_EQ(
      database_.Number("select f_jsqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
      1234.57);
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'"), "it's 新名称");
  // Reloaded, with the root chosen again.
  EXPECT_EQ(editor.TreeNT.selected(), editor.TreeNT.FirstNode());
  EXPECT_EQ(editor.cgdType.Cells(kPieceStartColumn, 1), "1234.57");
}

TEST_P(CommandScenario, SavingTwiceSendsTheEditOnceThenAnEmptyBatchAndChangesNothingMore) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("8.5");
  Save(editor);
  const DataPacket after_first =
      database_.Query("select * from tbdyjtxmlb order by f_jtxmbm, f_cxbm");
  Save(editor);

  EXPECT_THAT(harness_.TakeBoxTexts(),
              ElementsAre("确认要保存吗?", "保存成功", "确认要保存吗?", "保存成功"));
  EXPECT_THAT(service_->batch_sizes, ElementsAre(1, 0));
  EXPECT_EQ(*database_.Query("select * from tbdyjtxmlb order by f_jtxmbm, f_cxbm").content(),
            *after_first.content());
  EXPECT_EQ(DatabaseCount("tbdyjtxmda"), kDemoItems);
}

TEST_P(CommandScenario, AnsweringNoChangesNothingAndShowsNoBusyWindow) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("8.5");
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  editor.TbnSave.Click();
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?"));
  EXPECT_TRUE(service_->batch_sizes.empty());
  EXPECT_TRUE(harness_.platform.busy_texts().empty());
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceStartColumn, 1), "8.5");
}

TEST_P(CommandScenario, ARefusedBatchShowsTheHostsLinesAndTheNextSaveSendsTheEditAgain) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("77");
  service_->refuse = true;
  Save(editor);

  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "第一行\r\nsecond line");
  EXPECT_EQ(boxes[1].caption, "错误");
  EXPECT_EQ(harness_.platform.busy_windows_hidden(), 1);
  EXPECT_DOUBLE_EQ(
      database_.Number("select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"), 10);
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceStartColumn, 1), "77.00");

  service_->refuse = false;
  Save(editor);
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_THAT(service_->batch_sizes, ElementsAre(1, 1));
  EXPECT_DOUBLE_EQ(
      database_.Number("select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"), 77);
}

// A parameter that cannot be one stops the save before anything happens, at
// the cell, whether the grid still has the focus or not.
TEST_P(CommandScenario, ACellThatIsNotANumberStopsTheSaveAtTheCellBeforeAnythingElse) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kPieceStartColumn, 2);
  editor.cgdType.TypeText("1..2");
  editor.Screen.SetFocus(editor.TreeNT);
  Save(editor);

  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].caption, "提示");
  EXPECT_EQ(boxes[1].icon, MessageIcon::kError);
  EXPECT_EQ(boxes[1].text, "项目编码“01”车型编码“02”的“件数起点”不是数字：“1..2”");
  EXPECT_TRUE(service_->batch_sizes.empty());
  EXPECT_TRUE(harness_.platform.busy_texts().empty());
  EXPECT_EQ(editor.Screen.focused(), &editor.cgdType);
  EXPECT_TRUE(editor.cgdType.caret_mode());
}

TEST_P(CommandScenario, QuotesChineseAndTrailingBlanksSurviveASaveExactly) {
  // The write-back trims what it takes from the grid and finds records by the
  // trimmed code, so a code with a trailing blank keeps its record as loaded.
  database_.Execute(
      "insert into tbdyjtxmda (f_jtxmbm, f_jtxmmc, f_lb, f_jj, f_jc, f_jcs, f_js, f_ax, f_bc, "
      "f_srz, f_fz, f_bz, f_fc) values ('X''1 ', 'O''Neil 夜班  ', '别''类 ', '0', '0', '0', "
      "'0', '0', '0', '0', '0', '0', '0')");
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.SetCells(kItemGridNameColumn, 2, " 名'称 ");
  Save(editor);

  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(DatabaseCount("tbdyjtxmda"), kDemoItems + 1);
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='X''1 '"),
            "O'Neil 夜班  ");
  EXPECT_EQ(database_.Text("select f_lb from tbdyjtxmda where f_jtxmbm='X''1 '"), "别'类 ");
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='02'"), "名'称");
}

TEST_P(CommandScenario, ANewItemFromTheDialogIsPlacedShownAndSaved) {
  TfrmSubsidySet& editor = Open();
  TreeNode* selected_before = editor.TreeNT.selected();
  harness_.AnswerAddDialog("13", "  新项目 ", "计时");  // 计时, a node of the demo tree
  editor.btnAdd.Click();

  EXPECT_EQ(harness_.platform.shown_forms(), 1);
  EXPECT_TRUE(harness_.TakeBoxes().empty());
  EXPECT_THAT(EditorHarness::ColumnTexts(editor.cgdArc, 0), ElementsAre("13"));
  EXPECT_THAT(EditorHarness::ColumnTexts(editor.cgdType, 2), Not(Contains("")));
  EXPECT_EQ(editor.cgdType.RowCount() - 1, 7);
  EXPECT_EQ(editor.TreeNT.selected(), selected_before);
  const TreeNode* time_node = nullptr;
  for (TreeNode* node : editor.TreeNT.AllNodes()) {
    if (node->text() == "计时") time_node = node;
  }
  ASSERT_NE(time_node, nullptr);
  EXPECT_EQ(time_node->children().back()->text(), "13 新项目");
  EXPECT_EQ(time_node->children().back()->image_index(), PictureIndex(EditorPicture::kItem));

  Save(editor);
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='13'"), "新项目");
  EXPECT_EQ(database_.Text("select f_lb from tbdyjtxmda where f_jtxmbm='13'"), "计时");
  EXPECT_EQ(database_.Query("select * from tbdyjtxmlb where f_jtxmbm='13'").row_count(), 7u);
}

TEST_P(CommandScenario, ANewCategoryGetsItsNodeTheTreeExpandsAndTheItemIsChosen) {
  TfrmSubsidySet& editor = Open();
  database_.Execute("delete from tbdyjtxmlb where f_jtxmbm in ('07','08')");
  database_.Execute("delete from tbdyjtxmda where f_lb='计时'");
  editor.btnRefresh.Click();
  harness_.AnswerAddDialog("20", "新", "计时");
  editor.btnAdd.Click();

  TreeNode* root = editor.TreeNT.FirstNode();
  const TreeNode* category = root->children().back().get();
  EXPECT_EQ(category->text(), "计时");
  EXPECT_EQ(category->image_index(), PictureIndex(EditorPicture::kCategory));
  ASSERT_EQ(category->children().size(), 1u);
  EXPECT_EQ(editor.TreeNT.selected(), category->children()[0].get());
  for (TreeNode* node : editor.TreeNT.AllNodes()) {
    if (!node->children().empty()) {
      EXPECT_TRUE(node->expanded()) << node->text();
    }
  }
  EXPECT_THAT(EditorHarness::ColumnTexts(editor.cgdArc, 0), ElementsAre("20"));
}

TEST_P(CommandScenario, AnAddedItemIsDiscardedByRefresh) {
  TfrmSubsidySet& editor = Open();
  harness_.AnswerAddDialog("13", "新项目", "计件");
  editor.btnAdd.Click();
  harness_.TakeBoxes();
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);  // to "数据已修改,是否保存?"
  EXPECT_TRUE(editor.FormKeyDown('R', true));

  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("数据已修改,是否保存?"));
  EXPECT_FALSE(editor.cdsArc.Locate("f_jtxmbm", {"13"}));
  EXPECT_EQ(editor.cdsType.RecordCount(), kDemoParameterRows);
  EXPECT_THAT(EditorHarness::ColumnTexts(editor.cgdArc, 0), Not(Contains("13")));
  for (TreeNode* node : editor.TreeNT.AllNodes()) EXPECT_NE(node->text(), "13 新项目");
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridCodeColumn, 1), "01");
  EXPECT_EQ(DatabaseCount("tbdyjtxmda"), kDemoItems);
}

// The list holds every category the database has, in the tree's order, then
// the fixed ones it lacks, each once; Tab goes code, name, category, OK,
// Cancel; Enter in the open list only picks, Enter after it confirms.
TEST_P(CommandScenario, TheDialogOffersEveryCategoryAndIsUsableByKeysAlone) {
  TfrmSubsidySet& editor = Open();
  database_.Execute("update tbdyjtxmda set f_lb='计时' where f_lb='计程'");
  editor.btnRefresh.Click();
  harness_.OnAddDialog([&](TfrmAddSubsidy& dialog) {
    std::vector<std::string> tree;
    for (const auto& node : editor.TreeNT.FirstNode()->children()) tree.push_back(node->text());
    std::vector<std::string> expected = tree;
    expected.push_back("计程");
    EXPECT_EQ(dialog.cmbItemType.items(), expected);
    EXPECT_THAT(tree, Contains("特殊"));

    std::vector<const Control*> order;
    for (const Control* child : dialog.children()) {
      if (child->TakesFocus()) order.push_back(child);
    }
    EXPECT_THAT(order, ElementsAre(&dialog.edtItemNo, &dialog.edtItemName, &dialog.cmbItemType,
                                   &dialog.btnOk, &dialog.btnCancel));

    dialog.edtItemNo.TypeText("41");
    dialog.edtItemName.TypeText("键盘新增");
    dialog.SetFocus(dialog.cmbItemType);
    dialog.cmbItemType.SetDroppedDown(true);
    dialog.cmbItemType.PressKey(kKeyDown);
    dialog.cmbItemType.PressKey(kKeyReturn);
    EXPECT_FALSE(dialog.cmbItemType.dropped_down());
    EXPECT_FALSE(dialog.closed());
    EXPECT_EQ(dialog.ItemType(), expected[1]);
    dialog.cmbItemType.PressKey(kKeyReturn);
    EXPECT_TRUE(dialog.closed());
    EXPECT_EQ(dialog.modal_result(), ModalResult::kOk);
  });
  editor.btnAdd.Click();
  ASSERT_TRUE(editor.cdsArc.Locate("f_jtxmbm", {"41"}));
  EXPECT_EQ(editor.cdsArc.Text("f_lb"), editor.TreeNT.FirstNode()->children()[1]->text());
}

TEST_P(CommandScenario, TheDialogRefusesMissingInputAndACodeThatExists) {
  TfrmSubsidySet& editor = Open();
  harness_.OnAddDialog([&](TfrmAddSubsidy& dialog) {
    dialog.edtItemNo.TypeText("a -(0");
    EXPECT_EQ(dialog.edtItemNo.text(), "(0");
    dialog.edtItemNo.SetText("");
    dialog.edtItemNo.PressKey(kKeyReturn);
    EXPECT_EQ(dialog.focused(), &dialog.edtItemNo);
    dialog.btnOk.Click();
    dialog.edtItemNo.TypeText("01");
    dialog.btnOk.Click();
    dialog.edtItemName.TypeText("   ");
    dialog.btnOk.Click();
    dialog.edtItemName.TypeText("重复");
    dialog.btnOk.Click();
    EXPECT_FALSE(dialog.closed());
    EXPECT_EQ(dialog.focused(), &dialog.edtItemNo);
  });
  editor.btnAdd.Click();

  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].text, "请输入项目编码!");
  EXPECT_EQ(boxes[1].text, "请输入项目名称!");
  // A name of blanks only counts as missing.
  EXPECT_EQ(boxes[2].text, "请输入项目名称!");
  EXPECT_EQ(boxes[2].icon, MessageIcon::kInformation);
  EXPECT_EQ(boxes[3].text, "该编码已存在,请重新输入!");
  EXPECT_EQ(boxes[3].caption, "提示");
  EXPECT_EQ(boxes[3].icon, MessageIcon::kError);
  EXPECT_EQ(boxes[3].owner, boxes[0].owner);
  EXPECT_EQ(editor.cdsArc.RecordCount(), kDemoItems);
}

TEST_P(CommandScenario, DeleteAsksAndOnYesRemovesTheItemFromDatabaseAndScreen) {
  TfrmSubsidySet& editor = Open();
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 3);
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  EXPECT_TRUE(editor.FormKeyDown('D', true));
  auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "确认要删除编码为03的津贴项目吗?");
  EXPECT_EQ(boxes[0].owner, editor.cgdArc.handle());
  EXPECT_EQ(DatabaseCount("tbdyjtxmda"), kDemoItems);

  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  editor.TbnDelRow.Click();
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要删除编码为03的津贴项目吗?"));
  EXPECT_EQ(DatabaseCount("tbdyjtxmda"), kDemoItems - 1);
  EXPECT_EQ(database_.Query("select * from tbdyjtxmlb where f_jtxmbm='03'").row_count(), 0u);
  EXPECT_THAT(EditorHarness::ColumnTexts(editor.cgdArc, 0), Not(Contains("03")));
  EXPECT_EQ(editor.cgdType.Cells(kVehicleGridCodeColumn, 1), "01");
}

TEST_P(CommandScenario, RefreshBringsBackTheStoredValues) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("55");
  harness_.platform.ScriptAnswer(MessageAnswer::kNo);
  editor.btnRefresh.Click();
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceStartColumn, 1), "10.00");
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("数据已修改,是否保存?"));
  EXPECT_TRUE(service_->batch_sizes.empty());
}

TEST_P(CommandScenario, F1ShowsTheGuideAndEscEndsAnEditBeforeItClosesTheEditor) {
  TfrmSubsidySet& editor = Open();
  EXPECT_TRUE(editor.FormKeyDown(kKeyF1, false));
  ASSERT_EQ(harness_.platform.shown_popups().size(), 1u);
  EXPECT_THAT(harness_.platform.shown_popups()[0],
              HasSubstr("  Ctrl+S                : 保存所有修改\r\n"));
  EXPECT_EQ(editor.RopHelp.popup(), nullptr);

  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("9");
  ASSERT_TRUE(editor.cgdType.editing());
  EXPECT_FALSE(editor.FormKeyDown(kKeyEscape, false));
  editor.cgdType.PressKey(kKeyEscape);  // the key goes on to the grid
  EXPECT_EQ(editor.cgdType.Cells(kAllowanceStartColumn, 1), "10.00");
  EXPECT_FALSE(editor.closed());

  EXPECT_TRUE(editor.FormKeyDown(kKeyEscape, false));
  EXPECT_TRUE(editor.closed());
}

// Space on each measure flag of the item grid ticks or clears it and shows or
// hides its column group of the vehicle-type grid at once, as a click does;
// the flag is saved as ticked.
TEST_P(CommandScenario, SpaceOnAMeasureFlagShowsOrHidesItsColumnGroupAndIsSaved) {
  TfrmSubsidySet& editor = Open();
  auto group_shown = [&](const MeasureGroup& group) {
    std::vector<bool> shown;
    for (int col = group.first_vehicle_grid_column;
         col < group.first_vehicle_grid_column + kMeasureGroupWidth; ++col) {
      shown.push_back(editor.cgdType.Column(col).visible);
    }
    return shown;
  };
  const std::vector<bool> all_shown(kMeasureGroupWidth, true);
  const std::vector<bool> all_hidden(kMeasureGroupWidth, false);
  for (const MeasureGroup& group : kMeasureGroups) {
    const int col = group.item_grid_column;
    editor.cgdArc.MoveTo(col, 1);  // a move alone applies nothing
    const bool was_ticked = editor.cgdArc.Ticked(col, 1);
    ASSERT_EQ(group_shown(group), was_ticked ? all_shown : all_hidden) << col;
    editor.cgdArc.TypeChar(' ');
    EXPECT_EQ(editor.cgdArc.Ticked(col, 1), !was_ticked) << col;
    EXPECT_EQ(group_shown(group), was_ticked ? all_hidden : all_shown) << col;
    editor.cgdArc.TypeChar(' ');
    EXPECT_EQ(group_shown(group), was_ticked ? all_shown : all_hidden) << col;
  }
  // A tick box that is not a measure leaves the vehicle-type grid alone.
  const std::vector<bool> piece_before = group_shown(kMeasureGroups[0]);
  editor.cgdArc.MoveTo(kPackingFlagColumn, 1);
  editor.cgdArc.TypeChar(' ');
  EXPECT_EQ(group_shown(kMeasureGroups[0]), piece_before);

  editor.cgdArc.MoveTo(kDistanceFlagColumn, 1);
  editor.cgdArc.TypeChar(' ');
  Save(editor);
  EXPECT_EQ(database_.Text("select f_jc from tbdyjtxmda where f_jtxmbm='01'"), "1");
}

// The commands that throw the working copy away, each with and without an
// unsaved edit and with each answer to "数据已修改,是否保存?".
enum class Discarding { kExitButton, kEsc, kRefreshButton, kCtrlR, kDeleteButton, kCtrlD };
enum class Reply { kNoEdit, kYes, kNo, kCancel };

void RunDiscarding(TfrmSubsidySet& editor, Discarding command) {
  switch (command) {
    case Discarding::kExitButton:
      editor.TbnExit.Click();
      break;
    case Discarding::kEsc:
      EXPECT_TRUE(editor.FormKeyDown(kKeyEscape, false));
      break;
    case Discarding::kRefreshButton:
      editor.btnRefresh.Click();
      break;
    case Discarding::kCtrlR:
      EXPECT_TRUE(editor.FormKeyDown('R', true));
      break;
    case Discarding::kDeleteButton:
      editor.TbnDelRow.Click();
      break;
    case Discarding::kCtrlD:
      EXPECT_TRUE(editor.FormKeyDown('D', true));
      break;
  }
}

TEST_P(CommandScenario, CommandsThatDiscardAskOnlyWhenThereAreUnsavedChanges) {
  const std::string edited_value =
      "select f_jtqd from tbdyjtxmlb where f_jtxmbm='02' and f_cxbm='01'";
  for (Discarding command : {Discarding::kExitButton, Discarding::kEsc, Discarding::kRefreshButton,
                             Discarding::kCtrlR, Discarding::kDeleteButton, Discarding::kCtrlD}) {
    for (Reply answer : {Reply::kNoEdit, Reply::kYes, Reply::kNo, Reply::kCancel}) {
      SCOPED_TRACE(::testing::Message() << "command " << static_cast<int>(command) << ", answer "
                                        << static_cast<int>(answer));
      DemoDatabase database({.demo = true, .database_kind = GetParam(), .refused_operator = u""});
      auto service = std::make_shared<WatchedService>(database.service());
      EditorHarness harness(service);
      TfrmSubsidySet& editor = harness.Open();
      // Item 02 current; with an edit, its first parameter changed.
      editor.cgdArc.ClickCell(kItemGridCodeColumn, 2);
      if (answer != Reply::kNoEdit) {
        editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
        editor.cgdType.TypeText("66");
        editor.cgdType.PressKey(kKeyReturn);
      }
      harness.TakeBoxes();
      const bool deleting = command == Discarding::kDeleteButton || command == Discarding::kCtrlD;
      std::vector<std::string> expected;
      if (answer != Reply::kNoEdit) {
        expected.push_back("数据已修改,是否保存?");
        harness.platform.ScriptAnswer(answer == Reply::kYes  ? MessageAnswer::kYes
                                      : answer == Reply::kNo ? MessageAnswer::kNo
                                                             : MessageAnswer::kCancel);
      }
      if (answer == Reply::kYes) expected.push_back("保存成功");  // no second question
      const bool goes_on = answer != Reply::kCancel;
      if (deleting && goes_on) {
        expected.push_back("确认要删除编码为02的津贴项目吗?");
        harness.platform.ScriptAnswer(MessageAnswer::kYes);
      }

      RunDiscarding(editor, command);

      std::vector<std::string> shown;
      for (const MessageBoxRequest& box : harness.TakeBoxes()) shown.push_back(box.text);
      EXPECT_EQ(shown, expected);
      // Yes saved the one edited record, and nothing else was sent but a delete.
      EXPECT_EQ(service->batch_sizes,
                answer == Reply::kYes ? std::vector<size_t>{1} : std::vector<size_t>{});
      const DataPacket stored = database.Query(edited_value);
      if (deleting && goes_on) {
        EXPECT_EQ(stored.row_count(), 0u) << "item 02 deleted";
      } else {
        ASSERT_EQ(stored.row_count(), 1u);
        EXPECT_EQ(std::get<double>(stored.cell(0, 0)), answer == Reply::kYes ? 66.0 : 12.0);
      }
      const bool closing = command == Discarding::kExitButton || command == Discarding::kEsc;
      EXPECT_EQ(editor.closed(), closing && goes_on);
      if (answer == Reply::kCancel) {
        EXPECT_EQ(editor.cgdArc.Row(), 2) << "the operator stays where they were";
        EXPECT_EQ(editor.cgdType.Cells(kAllowanceStartColumn, 1), "66.00");
      }
    }
  }
}

TEST_P(CommandScenario, AValueTypedBackToWhatWasLoadedIsNoChange) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("55");
  editor.cgdType.PressKey(kKeyReturn);
  EXPECT_TRUE(editor.HasUnsavedChanges());
  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("10.00");
  editor.cgdType.PressKey(kKeyReturn);
  EXPECT_FALSE(editor.HasUnsavedChanges());
  editor.TbnExit.Click();
  EXPECT_TRUE(editor.closed());
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre());
}

// A code typed below the last row and left with the mouse, not Enter, is an
// item the operator means to keep: the save makes it, with its parameter rows.
TEST_P(CommandScenario, ARowTypedAndLeftWithTheMouseIsSaved) {
  TfrmSubsidySet& editor = Open();
  const int last = editor.cgdArc.RowCount() - 1;
  editor.cgdArc.ClickCell(kItemGridCodeColumn, last);
  editor.cgdArc.PressKey(kKeyDown);
  const int typed = editor.cgdArc.Row();
  ASSERT_EQ(typed, last + 1);
  editor.cgdArc.TypeText("31");
  editor.cgdArc.ClickCell(kItemGridNameColumn, typed);  // the mouse, not Enter
  editor.cgdArc.TypeText("鼠标离开的项目");
  editor.cgdArc.ClickCell(kItemGridCategoryColumn, typed);
  editor.cgdArc.TypeText("计件");
  editor.cgdArc.ClickCell(kItemGridCodeColumn, 1);

  Save(editor);

  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre("确认要保存吗?", "保存成功"));
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='31'"),
            "鼠标离开的项目");
  EXPECT_EQ(database_.Query("select * from tbdyjtxmlb where f_jtxmbm='31'").row_count(), 7u)
      << "one parameter row per vehicle type";
  EXPECT_THAT(service_->batch_sizes, ElementsAre(1 + 7));
}

TEST_P(CommandScenario, ATypedRowWhoseCodeIsTakenStopsTheSaveBeforeTheHost) {
  TfrmSubsidySet& editor = Open();
  editor.cgdType.ClickCell(kAllowanceStartColumn, 1);
  editor.cgdType.TypeText("77");
  const int last = editor.cgdArc.RowCount() - 1;
  editor.cgdArc.ClickCell(kItemGridCodeColumn, last);
  editor.cgdArc.PressKey(kKeyDown);
  const int typed = editor.cgdArc.Row();
  editor.cgdArc.TypeText("05");  // item 05 exists
  editor.cgdArc.ClickCell(kItemGridNameColumn, 1);

  Save(editor);

  EXPECT_THAT(
      harness_.TakeBoxTexts(),
      ElementsAre("确认要保存吗?", "第" + std::to_string(typed) + "行：该编码已存在,请重新输入!"));
  EXPECT_TRUE(service_->batch_sizes.empty()) << "nothing was sent";
  EXPECT_EQ(editor.cgdArc.Row(), typed);
  EXPECT_EQ(editor.cgdArc.Col(), kItemGridCodeColumn);
  EXPECT_EQ(editor.cgdArc.Cells(kItemGridCodeColumn, typed), "05") << "the typed row is kept";
  EXPECT_DOUBLE_EQ(
      database_.Number("select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"), 10);
}

TEST_P(CommandScenario, ATypedRowIsConfirmedWhenAnotherTreeNodeIsChosen) {
  TfrmSubsidySet& editor = Open();
  const int last = editor.cgdArc.RowCount() - 1;
  editor.cgdArc.ClickCell(kItemGridCodeColumn, last);
  editor.cgdArc.PressKey(kKeyDown);
  editor.cgdArc.TypeText("32");
  editor.cgdArc.ClickCell(kItemGridCategoryColumn, last + 1);
  editor.cgdArc.TypeText("计件");
  editor.cgdArc.ClickCell(kItemGridNameColumn, 1);
  editor.TreeNT.Select(editor.TreeNT.FirstNode()->children().front().get());

  EXPECT_TRUE(editor.cdsArc.Locate("f_jtxmbm", {"32"}));
  EXPECT_EQ(editor.cdsType.RecordCount(), kDemoParameterRows + 7);
  EXPECT_THAT(harness_.TakeBoxTexts(), ElementsAre());
  Save(editor);
  EXPECT_EQ(database_.Query("select * from tbdyjtxmlb where f_jtxmbm='32'").row_count(), 7u);
}

// Two operators with the editor open on one database, each changing a
// different item: the second save keeps what the first one saved.
TEST_P(CommandScenario, TwoEditorsSavingDifferentItemsKeepBothChanges) {
  EditorHarness other(std::make_shared<WatchedService>(database_.service()));
  TfrmSubsidySet& first = Open();
  TfrmSubsidySet& second = other.Open();
  first.cgdArc.SetCells(kItemGridNameColumn, 1, "第一位改的");
  second.cgdArc.SetCells(kItemGridNameColumn, 2, "第二位改的");
  Save(first);
  other.platform.ScriptAnswer(MessageAnswer::kYes);
  EXPECT_TRUE(second.FormKeyDown('S', true));

  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='01'"), "第一位改的");
  EXPECT_EQ(database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='02'"), "第二位改的");
}

INSTANTIATE_TEST_SUITE_P(BothDialects, CommandScenario, kBothDialects, DialectName);

TEST(CommandRefusedRight, AddDeleteAndSaveAreRefusedWithOneMessageEach) {
  DemoDatabase database({.demo = true, .database_kind = "", .refused_operator = u"0001"});
  auto service = std::make_shared<WatchedService>(database.service());
  EditorHarness harness(service);
  TfrmSubsidySet& editor = harness.Open();
  harness.TakeBoxes();

  editor.btnAdd.Click();
  editor.TbnDelRow.Click();
  editor.TbnSave.Click();

  const auto boxes = harness.TakeBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  for (const MessageBoxRequest& box : boxes) {
    EXPECT_EQ(box.text, "对不起,你不具有该操作的权限!");
  }
  EXPECT_EQ(harness.platform.shown_forms(), 0);
  EXPECT_TRUE(service->batch_sizes.empty());
  EXPECT_TRUE(harness.platform.busy_texts().empty());
  EXPECT_EQ(database.Query("select * from tbdyjtxmda").row_count(), kDemoItems);
}

}  // namespace
}  // namespace tarnvex
