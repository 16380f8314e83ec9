// Start, show and close of the editor.

#include "editor/column_layout.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "text/codepage.h"

namespace tarnvex {

namespace {

constexpr char kItemGridSection[] = "frmSubsidySet1";
constexpr char kVehicleGridSection[] = "frmSubsidySet2";

}  // namespace

// A failed host call ends the steps at that point; LoadDone then stays false,
// so node changes do nothing on tables that are not whole.
void TfrmSubsidySet::FormCreate() {
  Guarded("打开津贴项目设置", [this] {
    // First of all: the flag is the process's, and an earlier editor left it
    // true, so a failure in any step below must find it false already.
    EditorFlags().LoadDone = false;
    const std::filesystem::path settings = SettingsFile();
    LoadColumnLayout(cgdArc, settings, kItemGridSection);
    LoadColumnLayout(cgdType, settings, kVehicleGridSection);
    DetectDatabaseKind();
    BuildCategoryTree();
    ShowItems(ItemScope::kAll, "");
    LoadRecordTables();
    EditorFlags().LoadDone = true;
  });
}

void TfrmSubsidySet::FormShow() {
  Guarded("显示津贴项目设置", [this] {
    Screen.Show();
    Screen.SetFocus(TreeNT);
    if (TreeNode* root = TreeNT.FirstNode()) TreeNT.Select(root);
  });
}

// The base form has notified the host, and the host has handled it, before
// the layouts are written.
void TfrmSubsidySet::FormClose() {
  Guarded("关闭津贴项目设置", [this] {
    Screen.Close();
    const std::filesystem::path settings = SettingsFile();
    SaveColumnLayout(cgdArc, settings, kItemGridSection);
    SaveColumnLayout(cgdType, settings, kVehicleGridSection);
  });
}

// The operator's exit asks before unsaved changes are lost; a close the host
// starts (its window closing) is never held up.
void TfrmSubsidySet::TbnExitClick() {
  if (MayDiscardChanges()) Close();
}

std::filesystem::path TfrmSubsidySet::SettingsFile() {
  return std::filesystem::path(Cp936ToUtf16(platform().HostExecutableFolder())) /
         kSettingsFileName;
}

}  // namespace tarnvex
