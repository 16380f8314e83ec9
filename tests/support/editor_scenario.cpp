#include "support/editor_scenario.h"

#include <utility>

#include "widgets/keys.h"

namespace tarnvex::testing {

EditorScenario::EditorScenario(std::string database_kind)
    : database_({.demo = true, .database_kind = std::move(database_kind), .refused_operator = u""}),
      harness_(database_.service()) {}

void EditorScenario::Save(TfrmSubsidySet& editor, const std::vector<MessageAnswer>& answers) {
  harness_.platform.ScriptAnswer(MessageAnswer::kYes);
  for (MessageAnswer answer : answers) harness_.platform.ScriptAnswer(answer);
  EXPECT_TRUE(editor.FormKeyDown('S', true));
}

void EditorScenario::Type(ColumnGrid& grid, int col, int row, const std::string& text) {
  grid.MoveTo(col, row);
  grid.TypeText(text);
  grid.PressKey(kKeyReturn);
}

double EditorScenario::StoredParameter(const std::string& field, const std::string& item,
                                       const std::string& type) {
  return database_.Number("select " + field + " from tbdyjtxmlb where f_jtxmbm='" + item +
                          "' and f_cxbm='" + type + "'");
}

std::string EditorScenario::StoredName(const std::string& code) {
  return database_.Text("select f_jtxmmc from tbdyjtxmda where f_jtxmbm='" + code + "'");
}

std::string DialectName(const ::testing::TestParamInfo<std::string>& info) {
  return info.param.empty() ? "Ansi" : "SqlServer";
}

}  // namespace tarnvex::testing
