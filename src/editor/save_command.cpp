// The save command: the records changed since the last load or save go to the
// host as one batch.

#include <optional>
#include <utility>
#include <vector>

#include "editor/data_model.h"
#include "editor/save_batch.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "editor/host_error_box.h"
#include "host/sql_dialect.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

constexpr char kConfirmSave[] = "确认要保存吗?";
constexpr char kSavingText[] = "正在保存数据,请稍候...";
constexpr char kSaved[] = "保存成功";

}  // namespace

// Closes the busy window when the save ends by an error, before the event's
// guard shows that error: the operator must not be left facing a window that
// says the save is still running.
class TfrmSubsidySet::BusyWindowScope {
 public:
  BusyWindowScope(TfrmSubsidySet& editor, const std::string& text) : editor_(editor) {
    editor_.OpenBusyWindow(text);
  }
  ~BusyWindowScope() { editor_.CloseBusyWindow(); }
  BusyWindowScope(const BusyWindowScope&) = delete;
  BusyWindowScope& operator=(const BusyWindowScope&) = delete;

 private:
  TfrmSubsidySet& editor_;
};

void TfrmSubsidySet::TbnSaveClick() {
  if (!CheckOperatorRight()) return;
  if (!AskYesNo(platform(), window(), kConfirmSave)) return;
  SaveChanges();
}

bool TfrmSubsidySet::SaveChanges() {
  // A cell that cannot keep its text stops the save where the operator can
  // mend it.
  if (!LeaveEditedCells()) return false;
  // A row whose code was typed and left without Enter is an item the operator
  // means to keep: it is confirmed first, or the save does not happen.
  if (!items_.ConfirmTypedRows()) return false;
  std::optional<BusyWindowScope> busy;
  busy.emplace(*this, kSavingText);
  WriteBackGrids();
  if (const std::string uncategorised = ItemWithoutCategory(); !uncategorised.empty()) {
    busy.reset();
    ShowItemWithoutCategory(uncategorised);
    return false;
  }
  std::vector<SaveConflict> conflicts;
  if (!ReadBackConflicts(conflicts)) return false;
  if (!conflicts.empty()) {
    // Writing over a colleague's saved work is the operator's decision; No
    // keeps every edit on the screen for another try.
    // A warning, and No for Enter: a hasty key must not overwrite anyone.
    busy.reset();
    MessageBoxRequest question = QuestionBox(window(), ConflictQuestion(conflicts));
    question.icon = MessageIcon::kWarning;
    question.second_button_default = true;
    if (platform().Show(question) != MessageAnswer::kYes) return false;
    busy.emplace(*this, kSavingText);
  }
  Variant error_value;
  const bool saved = SendSaveBatch(error_value);
  if (saved) {
    // The operator goes on where they were, in what was just saved.
    const EditorPlace place = CapturePlace();
    DiscardDraft();
    BuildCategoryTree();
    RestorePlace(place);
    busy.reset();
    ShowNotice(platform(), window(), kSaved);
    RestoreFocus(place);
  } else {
    busy.reset();
    ShowHostError(platform(), window(), error_value);
  }
  return saved;
}

std::string TfrmSubsidySet::ItemWithoutCategory() {
  const DataPacket items = cdsArc.TakePacket();
  if (items.columns().empty()) return "";
  const size_t code = *items.FindColumn(kFieldItemCode);
  const size_t category = *items.FindColumn(kFieldCategory);
  for (size_t row : item_changes_.ChangedRows(items)) {
    if (Trim(FieldText(items.cell(row, category))).empty()) return FieldText(items.cell(row, code));
  }
  return "";
}

void TfrmSubsidySet::ShowItemWithoutCategory(const std::string& code) {
  // An item without a category would leave the tree: the operator gives it
  // one where it is typed.
  std::string where = "项目编码“" + code + "”";
  for (int row = 1; row < cgdArc.RowCount(); ++row) {
    if (items_.CodeOfRow(row) != code) continue;
    cgdArc.MoveTo(kItemGridCategoryColumn, row);
    Screen.SetFocus(cgdArc);
    where = "第" + std::to_string(row) + "行" + where;
    break;
  }
  ShowErrorNotice(cgdArc.handle(), where + "没有类别,请先填写类别再保存。");
}

bool TfrmSubsidySet::SendSaveBatch(Variant& errorValue) {
  // Only what changed: a record another operator saved meanwhile and this
  // editor left alone keeps what they saved.
  const DataPacket items = cdsArc.TakePacket();
  const DataPacket parameters = cdsType.TakePacket();
  const SaveRows rows{item_changes_.ChangedRows(items), parameter_changes_.ChangedRows(parameters)};
  Variant batch = PackSaveBatch(items, parameters, rows, EditorFlags().UseAnsiDialect);
  if (DataService()->ExecuteStatement(batch)) return true;
  errorValue = std::move(batch);
  return false;
}

void TfrmSubsidySet::OpenBusyWindow(const std::string& text) {
  busy_window_ = std::make_unique<BusyWindow>();
  busy_window_->FormCreate(platform().SizeableFrame(),
                           platform().FileExists(BusyWindow::kAnimationFile));
  busy_window_->Label1.Caption = text;
  // The work that follows holds the thread: the window is drawn now or never.
  platform().ShowBusyWindow(window(), *busy_window_);
}

void TfrmSubsidySet::CloseBusyWindow() {
  if (busy_window_ == nullptr) return;
  platform().HideBusyWindow(*busy_window_);
  busy_window_.reset();
}

}  // namespace tarnvex
