// A whole operator session against the stand-in on a SQLite file, run once
// without faults to count the host calls and then once for every call n with
// that call failing, by answering false and by throwing. Whatever fails, no
// exception reaches the platform, the operator is told what failed, a failed
// batch changes nothing, the editor goes on working and the database ends in a
// state the session explains.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/add_subsidy_dialog.h"
#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "standin/embedded_sql.h"
#include "standin/standin_service.h"
#include "support/editor_harness.h"
#include "support/editor_scenario.h"
#include "support/faulting_host.h"
#include "support/recording_message_boxes.h"
#include "support/temp_folder.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

using testing::EditorHarness;
using testing::FaultingHost;
using testing::TempFolder;

using Fault = FaultingHost::Fault;
// Every row of the three tables, one text per row, in key order.
using Dump = std::vector<std::string>;

constexpr char kSaved[] = "保存成功";
constexpr char kRefused[] = "对不起,你不具有该操作的权限!";

// Runs a query on the service and renders its rows; an empty optional when the
// query fails.
std::optional<Dump> DumpRows(HostDataService& service, const std::string& sql) {
  Variant result;
  if (!service.ExecuteQuery(Variant::FromText(sql), result)) return std::nullopt;
  const DataPacket rows = DataPacket::FromVariant(result);
  Dump dump;
  for (size_t row = 0; row < rows.row_count(); ++row) {
    std::string line;
    for (size_t col = 0; col < rows.columns().size(); ++col) {
      const FieldValue& value = rows.cell(row, col);
      if (const auto* text = std::get_if<std::string>(&value)) {
        line += "'" + *text + "'";
      } else if (const auto* number = std::get_if<double>(&value)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", *number);
        line += buffer;
      } else {
        line += "NULL";
      }
      line += "|";
    }
    dump.push_back(std::move(line));
  }
  return dump;
}

// The rows only one of two dumps holds, for failure messages.
std::string Difference(const Dump& actual, const Dump& expected) {
  std::string text;
  for (const std::string& row : actual) {
    if (std::find(expected.begin(), expected.end(), row) == expected.end()) text += "\n+ " + row;
  }
  for (const std::string& row : expected) {
    if (std::find(actual.begin(), actual.end(), row) == actual.end()) text += "\n- " + row;
  }
  return text;
}

bool Holds(const Dump& dump, const std::string& row) {
  return std::find(dump.begin(), dump.end(), row) != dump.end();
}

Dump DumpDatabase(HostDataService& service) {
  Dump dump;
  for (const char* sql : {"select * from tbdyjtxmda order by f_jtxmbm",
                          "select * from tbdyjtxmlb order by f_jtxmbm, f_cxbm",
                          "select * from tbdycxda order by f_cxbm"}) {
    std::optional<Dump> rows = DumpRows(service, sql);
    if (!rows) ADD_FAILURE() << "cannot read the database: " << sql;
    dump.push_back(std::string("-- ") + sql);
    if (rows) dump.insert(dump.end(), rows->begin(), rows->end());
  }
  return dump;
}

// The demo database, made once per dialect and copied for every run.
class DatabaseTemplate {
 public:
  explicit DatabaseTemplate(std::string kind) : kind_(std::move(kind)) {
    StandinDataService service(Config(file()));
    VariantArray texts;
    texts.elements.emplace_back(std::u16string(kSchemaSql));
    texts.elements.emplace_back(std::u16string(kDemoSql));
    // Three categories are enough for every step; fewer rows keep the many
    // runs quick.
    texts.elements.push_back(Variant::FromText(
        "delete from tbdyjtxmlb where f_jtxmbm not in ('01','02','03','04','07')"));
    texts.elements.push_back(Variant::FromText(
        "delete from tbdyjtxmda where f_jtxmbm not in ('01','02','03','04','07')"));
    Variant statements(std::move(texts));
    if (!service.ExecuteStatement(statements)) throw std::runtime_error("no demo database");
  }

  // A fresh copy of the demo database behind its own service.
  std::shared_ptr<StandinDataService> Copy(const TempFolder& into) const {
    const std::filesystem::path copy = into.path() / "demo.db";
    std::filesystem::copy_file(file(), copy, std::filesystem::copy_options::overwrite_existing);
    return std::make_shared<StandinDataService>(Config(copy));
  }

 private:
  std::filesystem::path file() const { return folder_.path() / "template.db"; }
  StandinConfig Config(const std::filesystem::path& file) const {
    StandinConfig config;
    config.connection_string = u"Driver=SQLite3;Database=" + file.u16string() + u";";
    config.database_kind = kind_;
    return config;
  }

  TempFolder folder_;
  std::string kind_;
};

// One run of the session on a fresh copy of the database. Message boxes get
// their default answers: OK, and Yes to every question.
class SessionRun {
 public:
  enum Step { kOpen, kNavigate, kEdit, kSave, kAdd, kSaveAgain, kDelete, kRefresh, kStepCount };
  static constexpr const char* kStepNames[kStepCount] = {"open", "navigate",   "edit",   "save",
                                                         "add",  "save again", "delete", "refresh"};

  SessionRun(const DatabaseTemplate& database, std::optional<Step> skipped = std::nullopt)
      : database_(database.Copy(folder_)),
        host_(std::make_shared<FaultingHost>(database_)),
        harness_(host_),
        skipped_(skipped) {
    harness_.AnswerAddDialog("13", "新项目");
  }

  FaultingHost& host() { return *host_; }
  // The database itself, past the faults.
  HostDataService& database() { return *database_; }
  EditorHarness& harness() { return harness_; }
  TfrmSubsidySet& editor() { return harness_.editor(); }
  Dump DumpNow() { return DumpDatabase(*database_); }

  // Runs every step, recording the step of each host call, and the database
  // after each step that sent statements or met the fault. No exception may
  // come out of the editor.
  void Run() {
    for (int step = 0; step < kStepCount; ++step) {
      const bool fired_before = host_->fault_fired();
      const auto statements_before =
          std::count(host_->calls().begin(), host_->calls().end(), std::string("ExecuteStatement"));
      if (skipped_ != step) {
        EXPECT_NO_THROW(RunStep(static_cast<Step>(step))) << kStepNames[step];
        // However the step ended, the busy window is gone with it.
        EXPECT_EQ(editor().busy_window(), nullptr) << kStepNames[step];
      }
      step_of_call.resize(host_->calls().size(), static_cast<Step>(step));
      boxes_of_step[step] = harness_.TakeBoxes();
      if (fired_before != host_->fault_fired() ||
          std::count(host_->calls().begin(), host_->calls().end(),
                     std::string("ExecuteStatement")) > statements_before) {
        dumps[step] = DumpNow();
      }
    }
  }

  std::vector<Step> step_of_call;
  std::vector<MessageBoxRequest> boxes_of_step[kStepCount];
  // The database after each step that sent statements or met the fault.
  std::optional<Dump> dumps[kStepCount];

 private:
  TreeNode* Root() { return editor().TreeNT.FirstNode(); }

  // Chooses a category and then the root, as an operator does to see every
  // item again whatever the grid shows now.
  void ShowAllItems() {
    TreeNode* root = Root();
    if (root == nullptr) return;
    if (!root->children().empty()) editor().TreeNT.Select(root->children().front().get());
    editor().TreeNT.Select(root);
  }

  // Makes the row of the item with the code current; false when the grid
  // does not show it.
  bool ClickItem(const std::string& code) {
    ColumnGrid& grid = editor().cgdArc;
    for (int row = 1; row < grid.RowCount(); ++row) {
      if (grid.Cells(kItemGridCodeColumn, row) != code) continue;
      grid.ClickCell(kItemGridCodeColumn, row);
      return grid.Row() == row;
    }
    return false;
  }

  void RunStep(Step step) {
    if (step == kOpen) {
      harness_.Open();
      return;
    }
    TfrmSubsidySet& editor = this->editor();
    switch (step) {
      case kNavigate:
        if (Root() != nullptr && !Root()->children().empty()) {
          TreeNode* category = Root()->children().front().get();
          editor.TreeNT.Select(category);
          if (!category->children().empty()) {
            editor.TreeNT.Select(category->children().front().get());
          }
          editor.TreeNT.Select(Root());
        }
        ClickItem("02");
        ClickItem("01");
        break;
      case kEdit:
        ShowAllItems();
        if (ClickItem("01")) {
          editor.cgdArc.SetCells(kItemGridNameColumn, editor.cgdArc.Row(), "改名'的项目");
          editor.cgdType.ClickCell(2, 1);
          editor.cgdType.TypeText("42.5");
        }
        break;
      case kSave:
      case kSaveAgain:
        editor.FormKeyDown('S', true);
        break;
      case kAdd:
        editor.btnAdd.Click();
        break;
      case kDelete:
        ShowAllItems();
        if (ClickItem("03")) editor.TbnDelRow.Click();
        break;
      case kRefresh:
        editor.FormKeyDown('R', true);
        break;
      case kOpen:
      case kStepCount:
        break;
    }
  }

  TempFolder folder_;
  std::shared_ptr<StandinDataService> database_;
  std::shared_ptr<FaultingHost> host_;
  EditorHarness harness_;
  std::optional<Step> skipped_;
};

// The boxes of the steps from the given one on, for failure messages.
std::string LaterBoxes(const SessionRun& run, int from_step) {
  std::string text;
  for (int step = from_step; step < SessionRun::kStepCount; ++step) {
    text += std::string("\n") + SessionRun::kStepNames[step] + ": " +
            ::testing::PrintToString(testing::CaptionsAndTexts(run.boxes_of_step[step]));
  }
  return text;
}

// After the session: a refresh shows what the database holds, a save of it
// succeeds and changes nothing, and the exit button closes the editor.
void ExpectTheEditorStillWorks(SessionRun& run) {
  TfrmSubsidySet& editor = run.editor();
  const Dump before = run.DumpNow();
  EXPECT_NO_THROW(editor.btnRefresh.Click());
  // The refresh keeps the operator's node; the root shows every item.
  TreeNode* root = editor.TreeNT.FirstNode();
  ASSERT_NE(root, nullptr);
  if (!root->children().empty()) editor.TreeNT.Select(root->children().front().get());
  editor.TreeNT.Select(root);

  const std::optional<Dump> stored = DumpRows(run.database(), "select f_jtxmbm from tbdyjtxmda");
  ASSERT_TRUE(stored.has_value());
  std::vector<std::string> shown;
  for (const std::string& code : EditorHarness::ColumnTexts(editor.cgdArc, kItemGridCodeColumn)) {
    shown.push_back("'" + code + "'|");
  }
  std::vector<std::string> stored_codes = *stored;
  std::sort(stored_codes.begin(), stored_codes.end());
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, stored_codes);
  ASSERT_NE(editor.TreeNT.FirstNode(), nullptr);
  EXPECT_FALSE(editor.TreeNT.FirstNode()->children().empty());
  EXPECT_EQ(testing::CaptionsAndTexts(run.harness().TakeBoxes()), std::vector<std::string>{});

  EXPECT_NO_THROW(editor.FormKeyDown('S', true));
  EXPECT_EQ(testing::CaptionsAndTexts(run.harness().TakeBoxes()),
            (std::vector<std::string>{"提示|确认要保存吗?", std::string("提示|") + kSaved}));
  EXPECT_EQ(run.DumpNow(), before);

  EXPECT_NO_THROW(editor.TbnExit.Click());
  EXPECT_TRUE(editor.closed());
  EXPECT_EQ(testing::CaptionsAndTexts(run.harness().TakeBoxes()), std::vector<std::string>{});
}

class InjectedFaults : public ::testing::TestWithParam<std::string> {};

TEST_P(InjectedFaults, EveryFailingHostCallIsReportedAndLeavesTheEditorWorkingAndDataIntact) {
  const DatabaseTemplate database(GetParam());

  SessionRun clean(database);
  clean.Run();
  const int call_count = static_cast<int>(clean.host().calls().size());
  ASSERT_GT(call_count, 0);
  for (const auto& boxes : clean.boxes_of_step) {
    for (const MessageBoxRequest& box : boxes) EXPECT_NE(box.caption, "错误") << box.text;
  }
  const Dump clean_end = clean.DumpNow();
  const Dump initial = SessionRun(database).DumpNow();
  // What the session leaves when a step's work is lost to a failure.
  std::optional<Dump> end_without[SessionRun::kStepCount];
  for (int step = SessionRun::kEdit; step < SessionRun::kStepCount; ++step) {
    SessionRun skipping(database, static_cast<SessionRun::Step>(step));
    skipping.Run();
    end_without[step] = skipping.DumpNow();
  }

  for (int n = 1; n <= call_count; ++n) {
    for (Fault fault : {Fault::kAnswersFalse, Fault::kThrows}) {
      const SessionRun::Step step = clean.step_of_call[static_cast<size_t>(n) - 1];
      SCOPED_TRACE(::testing::Message()
                   << "call " << n << " (" << clean.host().calls()[static_cast<size_t>(n) - 1]
                   << ", step " << SessionRun::kStepNames[step] << ") "
                   << (fault == Fault::kThrows ? "throws" : "answers false"));
      SessionRun run(database);
      run.host().FailAt(n, fault);
      run.Run();
      ASSERT_TRUE(run.host().fault_fired());
      const std::string operation = run.host().calls()[static_cast<size_t>(n) - 1];
      // GetDatabaseKind has no false answer: it throws either way.
      const bool creation_ended =
          step == SessionRun::kOpen && (fault == Fault::kThrows || operation == "GetDatabaseKind");

      // The operator is told, in the step that failed, what failed.
      const std::vector<MessageBoxRequest>& boxes = run.boxes_of_step[step];
      const bool refused = operation == "CheckRight" && fault == Fault::kAnswersFalse;
      const std::string expected = refused ? kRefused : run.host().FaultText();
      const auto told = std::find_if(boxes.begin(), boxes.end(), [&](const auto& box) {
        return box.text.find(expected) != std::string::npos;
      });
      ASSERT_NE(told, boxes.end()) << ::testing::PrintToString(testing::CaptionsAndTexts(boxes));
      EXPECT_EQ(told->caption, refused ? "提示" : "错误");
      EXPECT_EQ(told->icon, MessageIcon::kError);
      // A command whose right check failed sends nothing.
      if (operation == "CheckRight") {
        for (size_t call = static_cast<size_t>(n); call < run.host().calls().size(); ++call) {
          if (run.step_of_call[call] != step) break;
          EXPECT_NE(run.host().calls()[call], "ExecuteStatement") << "call " << call + 1;
        }
      }
      // A failed batch changes nothing.
      if (operation == "ExecuteStatement") {
        for (const MessageBoxRequest& box : boxes) EXPECT_NE(box.text, kSaved);
        const Dump* before = &initial;
        for (int earlier = step - 1; earlier >= 0 && before == &initial; --earlier) {
          if (clean.dumps[earlier]) before = &*clean.dumps[earlier];
        }
        ASSERT_TRUE(run.dumps[step].has_value());
        EXPECT_TRUE(*run.dumps[step] == *before) << Difference(*run.dumps[step], *before);
      }

      // The session's end: nothing but what the session did, none of the
      // rows it left alone lost, and where the outcome is known, exactly that.
      const Dump end = run.DumpNow();
      for (const std::string& row : end) {
        EXPECT_TRUE(Holds(initial, row) || Holds(clean_end, row)) << "a row nobody wrote: " << row;
      }
      for (const std::string& row : initial) {
        if (Holds(clean_end, row)) {
          EXPECT_TRUE(Holds(end, row)) << "a row lost: " << row;
        }
      }
      if (step == SessionRun::kSave) {
        // The edits stay in the record tables after a failed save; the next
        // save sends them with everything else.
        EXPECT_TRUE(end == clean_end) << Difference(end, clean_end);
      } else if (!creation_ended) {
        // (A call that throws while the editor is created ends the creation
        // and node changes then do nothing, so the later steps do only what
        // they can; the checks above hold for it all the same.)
        // A failure at most loses the work of one step: its own, or that of
        // a later one done on what the failure left on the screen (a failed
        // load shows less until the next refresh). Before the save, the
        // work that can be lost is the edit.
        bool explained = end == clean_end;
        for (int lost = std::max<int>(step, SessionRun::kEdit); lost < SessionRun::kStepCount;
             ++lost) {
          explained = explained || end == *end_without[lost];
        }
        EXPECT_TRUE(explained) << Difference(end, clean_end)
                               << "\nlater boxes:" << LaterBoxes(run, step);
      }
      ExpectTheEditorStillWorks(run);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothDialects, InjectedFaults, testing::kBothDialects,
                         testing::DialectName);

}  // namespace
}  // namespace tarnvex
