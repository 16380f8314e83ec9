// Unsaved changes: finding out whether the working copy differs from what was
// last loaded or saved, and asking before a command throws it away.

#include "editor/subsidy_set_form.h"

namespace tarnvex {

namespace {

constexpr char kKeepChanges[] = "数据已修改,是否保存?";

}  // namespace

bool TfrmSubsidySet::HasUnsavedChanges() {
  // A cell the operator typed and that cannot keep its text is an edit not
  // saved; it is not written back, which it could not be.
  if (!vehicles_.RefusalOfEditedCell().empty() || !items_.RefusalOfEditedCell().empty()) {
    return true;
  }
  WriteBackGrids();
  return items_.HasTypedRows() || item_changes_.HasChanges(cdsArc.TakePacket()) ||
         parameter_changes_.HasChanges(cdsType.TakePacket());
}

bool TfrmSubsidySet::MayDiscardChanges() {
  if (!HasUnsavedChanges()) {
    DiscardDraft();
    return true;
  }
  MessageBoxRequest question = QuestionBox(window(), kKeepChanges);
  question.buttons = MessageButtons::kYesNoCancel;
  switch (platform().Show(question)) {
    case MessageAnswer::kYes:
      return CheckOperatorRight() && SaveChanges();
    case MessageAnswer::kNo:
      DiscardDraft();
      return true;
    default:
      return false;
  }
}

}  // namespace tarnvex
