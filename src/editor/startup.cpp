// Start, show and close of the editor.

#include "editor/column_layout.h"
#include "editor/grid_columns.h"
#include "editor/editor_flags.h"
#include "editor/pane_layout.h"
#include "editor/subsidy_set_form.h"
#include "text/codepage.h"

namespace tarnvex {

namespace {

// The splitters' panes: the tree's width (Splitter1), the item grid's height
// (Splitter2).
constexpr char kPaneSection[] = "frmSubsidySetPanes";

}  // namespace

// A failed host call ends the steps at that point; LoadDone then stays false,
// so node changes do nothing on tables that are not whole.
void TfrmSubsidySet::FormCreate() {
  Guarded("打开津贴项目设置", [this] {
    // First of all: the flag is the process's, and an earlier editor left it
    // true, so a failure in any step below must find it false already.
    EditorFlags().LoadDone = false;
    const std::filesystem::path settings = SettingsFile();
    StartDraftSession(settings);
    LoadColumnLayout(cgdArc, settings, kItemGridSettingsSection);
    LoadColumnLayout(cgdType, settings, kVehicleGridSettingsSection);
    LoadPaneSize(Splitter1, PanelMainControls.bounds().width, settings, kPaneSection);
    LoadPaneSize(Splitter2, Panel1.bounds().height, settings, kPaneSection);
    DetectDatabaseKind();
    BuildCategoryTree();
    items_.Show(ItemScope::kAll, "");
    LoadRecordTables();
    EditorFlags().LoadDone = true;
  });
}

void TfrmSubsidySet::FormShow() {
  Guarded("显示津贴项目设置", [this] {
    Screen.Show();
    Screen.SetFocus(TreeNT);
    if (TreeNode* root = TreeNT.FirstNode()) TreeNT.Select(root);
    OfferDraft();
  });
}

// The base form has notified the host, and the host has handled it, before
// the layouts are written.
void TfrmSubsidySet::FormClose() {
  Guarded("关闭津贴项目设置", [this] {
    Screen.Close();
    const std::filesystem::path settings = SettingsFile();
    SaveColumnLayout(cgdArc, settings, kItemGridSettingsSection);
    SaveColumnLayout(cgdType, settings, kVehicleGridSettingsSection);
    SavePaneSize(Splitter1, settings, kPaneSection);
    SavePaneSize(Splitter2, settings, kPaneSection);
  });
}

// The operator's exit asks before unsaved changes are lost; a close the host
// starts (its window closing) is never held up.
void TfrmSubsidySet::TbnExitClick() {
  if (MayDiscardChanges()) Close();
}

std::filesystem::path TfrmSubsidySet::SettingsFile() {
  return std::filesystem::path(Cp936ToUtf16(platform().HostExecutableFolder())) / kSettingsFileName;
}

}  // namespace tarnvex
