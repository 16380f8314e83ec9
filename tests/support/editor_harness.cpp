#include "support/editor_harness.h"

#include <algorithm>
#include <utility>

namespace tarnvex::testing {

EditorHarness::EditorHarness(std::shared_ptr<HostDataService> service) {
  context.Store(kHostNotifyWindow, std::move(service), kOperator);
  platform.set_host_executable_folder(folder_.path().string() + "/");
}

EditorHarness::EditorHarness(std::shared_ptr<HostDataService> service, const EditorHarness& beside)
    : EditorHarness(std::move(service)) {
  platform.set_host_executable_folder(beside.folder_.path().string() + "/");
}

TfrmSubsidySet& EditorHarness::Open() {
  editor_.reset();
  editor_ = std::make_unique<TfrmSubsidySet>(platform, context);
  editor_->Create();
  editor_->Show();
  return *editor_;
}

void EditorHarness::UseService(std::shared_ptr<HostDataService> service) {
  context.Store(kHostNotifyWindow, std::move(service), kOperator);
}

void EditorHarness::OnAddDialog(std::function<void(TfrmAddSubsidy&)> fill) {
  platform.on_modal_form = [fill = std::move(fill)](Form& dialog) {
    fill(static_cast<TfrmAddSubsidy&>(dialog));
  };
}

void EditorHarness::AnswerAddDialog(std::string code, std::string name, std::string category) {
  OnAddDialog([=](TfrmAddSubsidy& dialog) {
    dialog.edtItemNo.TypeText(code);
    dialog.edtItemNo.PressKey(kKeyReturn);
    dialog.edtItemName.TypeText(name);
    dialog.edtItemName.PressKey(kKeyReturn);
    const std::vector<std::string>& items = dialog.cmbItemType.items();
    const auto chosen = std::find(items.begin(), items.end(), category);
    dialog.cmbItemType.SetItemIndex(
        chosen == items.end() ? 0 : static_cast<int>(chosen - items.begin()));
    dialog.cmbItemType.PressKey(kKeyReturn);
  });
}

std::vector<MessageBoxRequest> EditorHarness::TakeBoxes() {
  const auto& shown = platform.shown_boxes();
  std::vector<MessageBoxRequest> taken(shown.begin() + static_cast<ptrdiff_t>(boxes_taken_),
                                       shown.end());
  boxes_taken_ = shown.size();
  return taken;
}

std::vector<std::string> EditorHarness::TakeBoxTexts() {
  std::vector<std::string> texts;
  for (const MessageBoxRequest& box : TakeBoxes()) texts.push_back(box.text);
  return texts;
}

std::vector<std::string> EditorHarness::ColumnTexts(const ColumnGrid& grid, int col) {
  std::vector<std::string> texts;
  for (int row = 1; row < grid.RowCount(); ++row) texts.push_back(grid.Cells(col, row));
  return texts;
}

}  // namespace tarnvex::testing
