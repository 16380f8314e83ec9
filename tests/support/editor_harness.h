#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/add_subsidy_dialog.h"
#include "editor/subsidy_set_form.h"
#include "host/host_data_service.h"
#include "embedding/plugin_context.h"
#include "support/temp_folder.h"
#include "widgets/headless/headless_platform.h"

namespace tarnvex::testing {

// An editor on the headless platform, opened as the entry point opens it:
// context stored, created, shown. The settings file lies in a fresh folder
// that stands for the host's executable folder.
class EditorHarness {
 public:
  static constexpr WindowHandle kHostNotifyWindow = 0x77;
  static constexpr char kOperator[] = "0001";

  explicit EditorHarness(std::shared_ptr<HostDataService> service);
  // Another host on the same machine: the same program folder as beside's.
  EditorHarness(std::shared_ptr<HostDataService> service, const EditorHarness& beside);

  // Creates and shows a new editor (a closed one is dropped first).
  TfrmSubsidySet& Open();
  // The host's service for the editors from now on, as a later call of the
  // entry point hands it over (a service that watches the stand-in's calls).
  void UseService(std::shared_ptr<HostDataService> service);
  TfrmSubsidySet& editor() { return *editor_; }
  // The host destroys the editor with its own window: no close steps.
  void Destroy() { editor_.reset(); }

  std::filesystem::path settings_file() const { return folder_.path() / "Tarnvexpos.ini"; }

  // The operator's part in the add dialog, each time it shows.
  void OnAddDialog(std::function<void(TfrmAddSubsidy&)> fill);
  // The add dialog filled in as an operator does: code, Enter, name, Enter,
  // the category chosen from the list (empty: the first), Enter.
  void AnswerAddDialog(std::string code, std::string name, std::string category = "");

  // Texts of the boxes shown since the last call.
  std::vector<MessageBoxRequest> TakeBoxes();
  // Their texts alone.
  std::vector<std::string> TakeBoxTexts();

  // One column of a grid, data rows only.
  static std::vector<std::string> ColumnTexts(const ColumnGrid& grid, int col);

  HeadlessPlatform platform;
  PluginContext context;

 private:
  TempFolder folder_;
  size_t boxes_taken_ = 0;
  std::unique_ptr<TfrmSubsidySet> editor_;
};

}  // namespace tarnvex::testing
