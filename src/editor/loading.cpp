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
  const std::pair<RecordTable*, const char*> loads[] = {
      {&cdsArc, kLoadItemsSql},
      {&cdsType, kLoadParametersSql},
      {&cdsCX, kLoadVehicleTypesSql},
  };
  // A failed query leaves its table as it was; the others load all the same.
  for (const auto& [table, sql] : loads) {
    DataPacket packet;
    if (RunQuery(sql, packet)) table->LoadPacket(packet);
  }
  parameter_index_.Reset();
}

bool TfrmSubsidySet::CheckOperatorRight() {
  const bool allowed =
      DataService()->CheckRight(Cp936ToUtf16(context().operator_code()), kEditFunctionCode);
  if (!allowed) ShowErrorNotice(window(), "对不起,你不具有该操作的权限!");
  return allowed;
}

}  // namespace tarnvex
