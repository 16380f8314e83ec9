#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/subsidy_set_form.h"
#include "support/demo_database.h"
#include "support/editor_harness.h"
#include "widgets/column_grid.h"
#include "widgets/message_box.h"

namespace tarnvex::testing {

// An operator's session with the headless editor, opened as the entry point
// opens it, against the stand-in service on a SQLite file of its own with the
// demo data: the fixture of the editor's scenarios.
class EditorScenario : public ::testing::Test {
 protected:
  // database_kind is what GetDatabaseKind answers: "SQLSERVER" for the
  // Transact-SQL dialect, empty for the engine's own word (the ANSI one).
  explicit EditorScenario(std::string database_kind = "");

  // Opens a new editor. The boxes it shows stay to be taken.
  TfrmSubsidySet& Open() { return harness_.Open(); }
  // Ctrl+S: the question 确认要保存吗? answered Yes, then the questions after
  // it given these answers.
  void Save(TfrmSubsidySet& editor, const std::vector<MessageAnswer>& answers = {});
  // Types text into a cell as the operator does: the cell made current, the
  // characters typed, Enter.
  static void Type(ColumnGrid& grid, int col, int row, const std::string& text);

  // What the database holds now: a parameter field of an item for a vehicle
  // type, and an item's name.
  double StoredParameter(const std::string& field, const std::string& item,
                         const std::string& type);
  std::string StoredName(const std::string& code);

  DemoDatabase database_;
  EditorHarness harness_;
};

// A scenario run in both SQL dialects: its parameter is what GetDatabaseKind
// answers. INSTANTIATE_TEST_SUITE_P(BothDialects, Suite, kBothDialects,
// DialectName) runs it in each, named after the dialect.
class DialectScenario : public EditorScenario, public ::testing::WithParamInterface<std::string> {
 protected:
  DialectScenario() : EditorScenario(GetParam()) {}
};

inline const auto kBothDialects = ::testing::Values(std::string("SQLSERVER"), std::string(""));
std::string DialectName(const ::testing::TestParamInfo<std::string>& info);

}  // namespace tarnvex::testing
