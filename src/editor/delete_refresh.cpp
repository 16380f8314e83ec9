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
  RefreshingScope() { EditorFlags().Refreshing = true; }
  ~RefreshingScope() { EditorFlags().Refreshing = false; }
  RefreshingScope(const RefreshingScope&) = delete;
  RefreshingScope& operator=(const RefreshingScope&) = delete;
};

}  // namespace

void TfrmSubsidySet::TbnDelRowClick() {
  if (!CheckOperatorRight()) return;
  const std::string code = items_.CurrentCode();
  if (code.empty()) return;
  // The reload after the delete would throw away the other items' edits.
  if (!MayDiscardChanges()) return;
  if (!AskYesNo(platform(), cgdArc.handle(), "确认要删除编码为" + code + "的津贴项目吗?")) return;
  DeleteItem(code);
  // Whatever the host did, the screen shows the database as it now is.
  ReloadAll();
}

void TfrmSubsidySet::DeleteItem(const std::string& code) {
  Variant statement = Variant::FromText(DeleteStatement(code));
  if (!DataService()->ExecuteStatement(statement)) {
    ShowHostError(platform(), window(), statement);
  }
}

void TfrmSubsidySet::btnRefreshClick() {
  if (MayDiscardChanges()) ReloadAll();
}

void TfrmSubsidySet::ReloadAll() {
  // The operator goes on where they were; after a delete, at the next item.
  const EditorPlace place = CapturePlace();
  {
    const RefreshingScope refreshing;
    BuildCategoryTree();
  }
  RestorePlace(place);
}

}  // namespace tarnvex
