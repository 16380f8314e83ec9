// Loading: the database kind, the three record tables and the permission gate.

#include <utility>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "host/sql_dialect.h"
#include "text/codepage.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

constexpr char16_t kEditFunctionCode[] = u"9026";

}  // namespace

void TfrmSubsidySet::DetectDatabaseKind() {
  // A kind that has no text (NULL, an array) is not SQL Server either.
  const std::string kind = Trim(DataService()->GetDatabaseKind().ToText().value_or(""));
  EditorFlags().UseAnsiDialect = kind != "SQLSERVER";
}

void TfrmSubsidySet::LoadRecordTables() {
  struct Load {
    RecordTable* table;
    const char* sql;
    ChangeTracker* changes;  // what changes of the table are counted against
  };
  const Load loads[] = {
      {&cdsArc, kLoadItemsSql, &item_changes_},
      {&cdsType, kLoadParametersSql, &parameter_changes_},
      {&cdsCX, kLoadVehicleTypesSql, nullptr},
  };
  // A failed query leaves its table as it was; the others load all the same.
  // Each table's content counts as unchanged as soon as it is there, so a
  // call that throws halfway leaves no loaded table looking edited.
  for (const Load& load : loads) {
    DataPacket packet;
    if (RunQuery(load.sql, packet)) load.table->LoadPacket(packet);
    if (load.changes != nullptr) load.changes->SetBaseline(load.table->TakePacket());
  }
  vehicles_.ResetParameterIndex();
  grids_match_tables_ = false;
}

bool TfrmSubsidySet::CheckOperatorRight() {
  const bool allowed =
      DataService()->CheckRight(Cp936ToUtf16(context().operator_code()), kEditFunctionCode);
  if (!allowed) ShowErrorNotice(window(), "对不起,你不具有该操作的权限!");
  return allowed;
}

}  // namespace tarnvex
