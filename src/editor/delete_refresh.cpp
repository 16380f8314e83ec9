// The delete and refresh commands: both end with everything reloaded from the
// database.

#include "editor/data_model.h"
#include "editor/delete_statement.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "editor/host_error_box.h"

namespace tarnvex {

namespace {

// Node changes are ignored while the tree is rebuilt, and heard again
// afterwards even when the rebuild fails.
class RefreshingScope {
 public:
  RefreshingScope() { Refreshing = true; }
  ~RefreshingScope() { Refreshing = false; }
  RefreshingScope(const RefreshingScope&) = delete;
  RefreshingScope& operator=(const RefreshingScope&) = delete;
};

}  // namespace

void TfrmSubsidySet::TbnDelRowClick() {
  if (!CheckOperatorRight()) return;
  const std::string code = CodeOfRow(cgdArc.Row());
  if (code.empty()) return;
  if (platform().Show({.owner = cgdArc.handle(),
                       .text = "确认要删除编码为" + code + "的津贴项目吗?",
                       .caption = "提示",
                       .icon = MessageIcon::kInformation,
                       .buttons = MessageButtons::kYesNo}) != MessageAnswer::kYes) {
    return;
  }
  DeleteItem(code);
  // Whatever the host did, the screen shows the database as it now is.
  btnRefresh.Click();
}

void TfrmSubsidySet::DeleteItem(const std::string& code) {
  Variant statement = Variant::FromText(DeleteStatement(code));
  if (!DataService()->ExecuteStatement(statement)) {
    ShowHostError(platform(), window(), statement);
  }
}

void TfrmSubsidySet::btnRefreshClick() {
  {
    const RefreshingScope refreshing;
    BuildCategoryTree();
  }
  ClearGrid(0);
  ShowItems(ItemScope::kAll, "");
  ClearGrid(1);
  const std::string code = CodeOfRow(1);
  if (code.empty()) return;
  FillGrid(FillMode::kVehicleTypes, cdsType.TakePacket(), code);
  ApplyMeasureColumns(CheckFlag(3, 1), CheckFlag(4, 1), CheckFlag(6, 1), CheckFlag(7, 1),
                      CheckFlag(8, 1));
}

}  // namespace tarnvex
