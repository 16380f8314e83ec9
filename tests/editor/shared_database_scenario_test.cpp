// Operators who share one database: two editors on one SQLite file, each
// saving more than once, in both SQL dialects. Another operator's saved work
// is never written over without a word, and after every load, save, refresh
// and delete the screen shows what the database holds.

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
#include "support/database_backend.h"
#include "support/demo_database.h"
#include "support/editor_harness.h"
#include "support/editor_scenario.h"
#include "support/grid_columns.h"
#include "text/number_text.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using namespace testing;  // the grids' named columns (support/grid_columns.h)
using testing::DemoDatabase;
using testing::EditorHarness;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// The stand-in service with the queries it was asked, the statement calls it
// took, and on request a refusal of the save's read-back queries.
class CountingService : public HostDataService {
 public:
  explicit CountingService(std::shared_ptr<HostDataService> inner) : inner_(std::move(inner)) {}

  Variant GetDatabaseKind() override { return inner_->GetDatabaseKind(); }
  bool ExecuteQuery(const Variant& sql, Variant& result) override {
    const std::u16string text = sql.ToWideText().value_or(u"");
    queries.push_back(text);
    if (refuse_read_back && text.find(u" in (") != std::u16string::npos) {
      result = Variant(VariantArray{0, {Variant(u"读取失败")}});
      return false;
    }
    return inner_->ExecuteQuery(sql, result);
  }
  bool ExecuteStatement(Variant& statements) override {
    ++statement_calls;
    return inner_->ExecuteStatement(statements);
  }
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override {
    return inner_->CheckRight(operator_code, function_code);
  }

  std::vector<std::u16string> queries;
  int statement_calls = 0;
  bool refuse_read_back = false;

 private:
  std::shared_ptr<HostDataService> inner_;
};

// One operator: an editor of their own on the shared database.
struct Operator {
  explicit Operator(const DemoDatabase& database)
      : service(std::make_shared<CountingService>(database.service())), harness(service) {}

  TfrmSubsidySet& Open() {
    TfrmSubsidySet& editor = harness.Open();
    harness.TakeBoxes();
    return editor;
  }
  TfrmSubsidySet& editor() { return harness.editor(); }

  // Ctrl+S with the confirmation answered Yes, then the given answers: the
  // boxes shown after the confirmation.
  std::vector<std::string> Save(std::vector<MessageAnswer> answers = {}) {
    harness.platform.ScriptAnswer(MessageAnswer::kYes);
    for (MessageAnswer answer : answers) harness.platform.ScriptAnswer(answer);
    editor().FormKeyDown('S', true);
    std::vector<std::string> boxes = harness.TakeBoxTexts();
    EXPECT_EQ(boxes.at(0), "确认要保存吗?");
    boxes.erase(boxes.begin());
    return boxes;
  }

  // Chooses the item row of the item grid, as a click on its code does.
  void ChooseItem(int row) { editor().cgdArc.ClickCell(kItemGridCodeColumn, row); }

  std::shared_ptr<CountingService> service;
  EditorHarness harness;
};

class SharedDatabase : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    std::string skip_reason;
    connection_ = SharedDatabaseConnection(skip_reason);
    if (!skip_reason.empty()) GTEST_SKIP() << skip_reason;
    database_ = MakeDatabase();
  }

  // The demo data afresh, in the dialect under test.
  std::unique_ptr<DemoDatabase> MakeDatabase() {
    return std::make_unique<DemoDatabase>(
        DemoDatabase::Options{.demo = true, .database_kind = GetParam(), .refused_operator = u""},
        connection_);
  }

  std::string ItemName(const std::string& code) {
    return database_->Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='" + code + "'");
  }

  // Every row of both grids shows its record exactly as the database holds it.
  void ExpectScreenShowsDatabase(TfrmSubsidySet& editor) {
    for (int row = 1; row < editor.cgdArc.RowCount(); ++row) {
      const std::string code = editor.cgdArc.Cells(kItemGridCodeColumn, row);
      if (code.empty()) continue;
      const DataPacket stored = database_->Query(
          "select f_jtxmmc,f_lb,f_jj from tbdyjtxmda where f_jtxmbm='" + code + "'");
      ASSERT_EQ(stored.row_count(), 1u) << code;
      EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, row),
                std::get<std::string>(stored.cell(0, 0)))
          << code;
      EXPECT_EQ(editor.cgdArc.Cells(kItemGridCategoryColumn, row),
                std::get<std::string>(stored.cell(0, 1)))
          << code;
      EXPECT_EQ(editor.cgdArc.Ticked(kPieceFlagColumn, row),
                std::get<std::string>(stored.cell(0, 2)) == "1")
          << code;
    }
    const std::string item = editor.cgdArc.Cells(kItemGridCodeColumn, editor.cgdArc.Row());
    for (int row = 1; row < editor.cgdType.RowCount(); ++row) {
      const std::string type = editor.cgdType.Cells(kVehicleGridCodeColumn, row);
      if (type.empty()) continue;
      EXPECT_EQ(ParseNumber(editor.cgdType.Cells(kAllowanceStartColumn, row)),
                database_->Number("select f_jtqd from tbdyjtxmlb where f_jtxmbm='" + item +
                                  "' and f_cxbm='" + type + "'"))
          << item << "/" << type;
    }
  }

  std::u16string connection_;
  std::unique_ptr<DemoDatabase> database_;
};

// One operator's change to item 04, saved, then checked after the other
// operator's saves of other items.
struct SavedChange {
  const char* what;
  std::function<void(Operator&)> make;
  const char* query;
  std::string expected;
};

const SavedChange kSavedChanges[] = {
    {"a name",
     [](Operator& b) { b.editor().cgdArc.SetCells(kItemGridNameColumn, 4, "乙改的名称"); },
     "select f_jtxmmc from tbdyjtxmda where f_jtxmbm='04'", "乙改的名称"},
    {"a tick",
     [](Operator& b) { b.editor().cgdArc.SetCells(kPieceFlagColumn, 4, ColumnGrid::kTicked); },
     "select f_jj from tbdyjtxmda where f_jtxmbm='04'", "1"},
    {"a parameter",
     [](Operator& b) {
       b.ChooseItem(4);
       b.editor().cgdType.SetCells(kAllowanceStartColumn, 1, "99");
     },
     "select f_jtqd from tbdyjtxmlb where f_jtxmbm='04' and f_cxbm='01'", "99"},
};

// B saves 04; A, opened before that, saves 03 and then 05: each of A's saves
// sends A's own edit alone, A's screen shows B's 04 after the reload, and 04
// keeps what B saved.
TEST_P(SharedDatabase, AnotherOperatorsSaveSurvivesTwoLaterSavesOfOtherItems) {
  for (const SavedChange& change : kSavedChanges) {
    SCOPED_TRACE(change.what);
    const std::unique_ptr<DemoDatabase> fresh = MakeDatabase();
    Operator a(*fresh);
    Operator b(*fresh);
    TfrmSubsidySet& editor_a = a.Open();
    b.Open();

    change.make(b);
    EXPECT_THAT(b.Save(), ElementsAre("保存成功"));

    editor_a.cgdArc.SetCells(kItemGridNameColumn, 3, "甲改的三");
    EXPECT_THAT(a.Save(), ElementsAre("保存成功"));
    EXPECT_FALSE(editor_a.HasUnsavedChanges());
    editor_a.cgdArc.SetCells(kItemGridNameColumn, 5, "甲改的五");
    EXPECT_THAT(a.Save(), ElementsAre("保存成功"));
    EXPECT_FALSE(editor_a.HasUnsavedChanges());

    EXPECT_EQ(fresh->Text(change.query), change.expected);
    EXPECT_EQ(fresh->Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='03'"), "甲改的三");
    EXPECT_EQ(fresh->Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='05'"), "甲改的五");
  }
}

// Right after a save, a refresh or a delete there is nothing unsaved: exit
// asks nothing, and both grids show what the database holds.
TEST_P(SharedDatabase, NothingIsUnsavedAfterASaveARefreshOrADelete) {
  Operator a(*database_);
  Operator b(*database_);
  TfrmSubsidySet& editor = a.Open();
  b.Open();
  b.editor().cgdArc.SetCells(kItemGridNameColumn, 4, "乙改的名称");
  b.Save();

  const std::vector<std::pair<const char*, std::function<void()>>> reloads = {
      {"save",
       [&] {
         editor.cgdArc.SetCells(kItemGridNameColumn, 2, "甲改的二");
         EXPECT_THAT(a.Save(), ElementsAre("保存成功"));
       }},
      {"refresh", [&] { editor.FormKeyDown('R', true); }},
      {"delete",
       [&] {
         a.ChooseItem(12);
         a.harness.platform.ScriptAnswer(MessageAnswer::kYes);
         editor.FormKeyDown('D', true);
         EXPECT_THAT(a.harness.TakeBoxTexts(), ElementsAre("确认要删除编码为12的津贴项目吗?"));
       }},
  };
  for (const auto& [what, reload] : reloads) {
    SCOPED_TRACE(what);
    reload();
    EXPECT_THAT(a.harness.TakeBoxTexts(), IsEmpty());
    EXPECT_FALSE(editor.HasUnsavedChanges());
    ExpectScreenShowsDatabase(editor);
    EXPECT_EQ(editor.cgdArc.Cells(kItemGridNameColumn, 4), "乙改的名称");
  }
  EXPECT_EQ(database_->Text("select count(*) from tbdyjtxmda where f_jtxmbm='12'"), "0");
  EXPECT_EQ(ItemName("04"), "乙改的名称");
}

// Adds an item through the add dialog, as the operator does.
void AddItem(Operator& op, const std::string& code, const std::string& name) {
  op.harness.AnswerAddDialog(code, name);
  op.editor().btnAdd.Click();
}

// Both operators change the same record; B saves first. A's save then asks,
// naming the record and what B did: No writes nothing and keeps A's edit on
// the screen, Yes writes A's edit.
struct SameRecord {
  const char* what;
  std::function<void(Operator&)> other;  // B's change, saved
  std::function<void(Operator&)> mine;   // A's change over what A read
  const char* line;                      // in A's question
  const char* query;
  std::string others_value;
  std::string my_value;
};

const SameRecord kSameRecords[] = {
    {"an item changed",
     [](Operator& b) { b.editor().cgdArc.SetCells(kItemGridNameColumn, 5, "乙改的五"); },
     [](Operator& a) { a.editor().cgdArc.SetCells(kItemGridNameColumn, 5, "甲改的五"); },
     "05 甲改的五 已被修改", "select f_jtxmmc from tbdyjtxmda where f_jtxmbm='05'", "乙改的五",
     "甲改的五"},
    {"a parameter row changed",
     [](Operator& b) { b.editor().cgdType.SetCells(kAllowanceStartColumn, 2, "77"); },
     [](Operator& a) { a.editor().cgdType.SetCells(kAllowanceStartColumn, 2, "88"); },
     "01 整件配送补助 车型02 已被修改",
     "select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02'", "77", "88"},
    {"an item deleted",
     [](Operator& b) {
       b.ChooseItem(5);
       b.harness.platform.ScriptAnswer(MessageAnswer::kYes);
       b.editor().FormKeyDown('D', true);
       b.harness.TakeBoxes();
     },
     [](Operator& a) { a.editor().cgdArc.SetCells(kItemGridNameColumn, 5, "甲改的五"); },
     "05 甲改的五 已被删除", "select f_jtxmmc from tbdyjtxmda where f_jtxmbm='05'", "<0 rows>",
     "甲改的五"},
    {"the same new code added", [](Operator& b) { AddItem(b, "31", "乙加的"); },
     [](Operator& a) { AddItem(a, "31", "甲加的"); }, "31 甲加的 已被新增",
     "select f_jtxmmc from tbdyjtxmda where f_jtxmbm='31'", "乙加的", "甲加的"},
};

TEST_P(SharedDatabase, ASaveOverAnotherOperatorsSaveOfTheSameRecordAsksFirst) {
  for (const SameRecord& record : kSameRecords) {
    SCOPED_TRACE(record.what);
    const std::unique_ptr<DemoDatabase> database = MakeDatabase();
    Operator a(*database);
    Operator b(*database);
    TfrmSubsidySet& editor = a.Open();
    b.Open();
    record.other(b);
    b.Save();
    ASSERT_EQ(database->Text(record.query), record.others_value);

    record.mine(a);
    const int calls = a.service->statement_calls;
    const std::vector<std::string> asked = a.Save({MessageAnswer::kNo});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_THAT(asked[0], HasSubstr(record.line));
    const MessageBoxRequest& box = a.harness.platform.shown_boxes().back();
    EXPECT_EQ(box.icon, MessageIcon::kWarning);
    EXPECT_EQ(box.buttons, MessageButtons::kYesNo);
    EXPECT_TRUE(box.second_button_default) << "Enter must not overwrite a colleague's work";
    EXPECT_EQ(a.service->statement_calls, calls);
    EXPECT_EQ(database->Text(record.query), record.others_value);
    EXPECT_TRUE(editor.HasUnsavedChanges());

    EXPECT_THAT(a.Save({MessageAnswer::kYes}), ElementsAre(HasSubstr(record.line), "保存成功"));
    EXPECT_EQ(database->Text(record.query), record.my_value);
    EXPECT_FALSE(editor.HasUnsavedChanges());
  }
}

// Twelve items changed by someone else, all edited here: ten are listed and
// the rest counted; with one changed, only that one is listed.
TEST_P(SharedDatabase, TheQuestionListsTenConflictsAndCountsTheRestAndOnlyConflicts) {
  Operator a(*database_);
  TfrmSubsidySet& editor = a.Open();
  for (int row = 1; row <= 12; ++row) {
    editor.cgdArc.SetCells(kItemGridNameColumn, row, "甲" + std::to_string(row));
  }
  database_->Execute("update tbdyjtxmda set f_fc='1' where f_jtxmbm='07'");
  std::vector<std::string> asked = a.Save({MessageAnswer::kNo});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_THAT(asked[0], HasSubstr("07 甲7 已被修改"));
  EXPECT_THAT(asked[0], Not(HasSubstr("08 ")));

  database_->Execute("update tbdyjtxmda set f_fc='2'");
  asked = a.Save({MessageAnswer::kNo});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_THAT(asked[0], HasSubstr("10 甲10 已被修改"));
  EXPECT_THAT(asked[0], Not(HasSubstr("11 甲11")));
  EXPECT_THAT(asked[0], HasSubstr("... 另有2条"));
  EXPECT_EQ(ItemName("11"), "长途干线补助");
}

// The read-back names exactly the records the save writes, and a failed
// read-back shows the host's lines and writes nothing.
TEST_P(SharedDatabase, TheReadBackAsksForTheSavedCodesAndItsFailureWritesNothing) {
  Operator a(*database_);
  TfrmSubsidySet& editor = a.Open();
  editor.cgdArc.SetCells(kItemGridNameColumn, 1, "甲一");
  editor.cgdArc.SetCells(kItemGridNameColumn, 2, "甲二");
  editor.cgdType.SetCells(kAllowanceStartColumn, 1, "5");
  a.service->queries.clear();
  a.service->refuse_read_back = true;
  EXPECT_THAT(a.Save(), ElementsAre("读取失败"));
  EXPECT_EQ(a.service->statement_calls, 0);
  EXPECT_EQ(ItemName("01"), "整件配送补助");
  EXPECT_TRUE(editor.HasUnsavedChanges());

  a.service->refuse_read_back = false;
  a.service->queries.clear();
  EXPECT_THAT(a.Save(), ElementsAre("保存成功"));
  ASSERT_GE(a.service->queries.size(), 2u);
  EXPECT_EQ(a.service->queries[0], u"select * from tbdyjtxmda where f_jtxmbm in ('01','02')");
  EXPECT_EQ(a.service->queries[1], u"select * from tbdyjtxmlb where f_jtxmbm in ('01')");
  EXPECT_EQ(ItemName("02"), "甲二");

  // Nothing changed: no read-back at all.
  a.service->queries.clear();
  EXPECT_THAT(a.Save(), ElementsAre("保存成功"));
  for (const std::u16string& query : a.service->queries) {
    EXPECT_EQ(query.find(u" in ("), std::u16string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(BothDialects, SharedDatabase, kBothDialects, DialectName);

}  // namespace
}  // namespace tarnvex
