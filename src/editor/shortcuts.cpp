// The shortcut guide and the editor's own keys (key_bindings.h).

#include <optional>

#include "editor/key_bindings.h"
#include "editor/subsidy_set_form.h"

namespace tarnvex {

void TfrmSubsidySet::SetUpShortcutGuide() {
  RopHelp.Lines = ShortcutGuideLines();
  // Black is the window-text colour of every standard scheme.
  RopHelp.font = {.name = "宋体", .height = -12, .charset = kGb2312Charset, .colour = 0x000000};
}

void TfrmSubsidySet::btnhandClick() { RopHelp.Execute(platform(), window()); }

KeyPlace TfrmSubsidySet::FocusPlace() const {
  if (Screen.focused() == &cgdArc && !cgdArc.editing() && !cgdArc.dropped_down()) {
    return KeyPlace::kItemGrid;
  }
  return KeyPlace::kAnywhere;
}

bool TfrmSubsidySet::TakesFormKey(KeyCode key, bool ctrl, bool shift) const {
  const std::optional<EditorCommand> command = BoundCommand(key, ctrl, shift, FocusPlace());
  if (!command) return false;
  // An Esc during an in-place edit belongs to the grid, which ends the edit;
  // closing the editor then would throw the edit away with it. So does one
  // that closes a cell's open pick list.
  if (*command == EditorCommand::kExit) {
    return !cgdArc.editing() && !cgdType.editing() && !cgdArc.dropped_down() &&
           !cgdType.dropped_down();
  }
  return true;
}

bool TfrmSubsidySet::FormKeyDown(KeyCode key, bool ctrl, bool shift) {
  if (!TakesFormKey(key, ctrl, shift)) return false;
  switch (*BoundCommand(key, ctrl, shift, FocusPlace())) {
    case EditorCommand::kAdd:
      btnAdd.Click();
      break;
    case EditorCommand::kSave:
      TbnSave.Click();
      break;
    case EditorCommand::kDelete:
      TbnDelRow.Click();
      break;
    case EditorCommand::kRefresh:
      btnRefresh.Click();
      break;
    case EditorCommand::kGuide:
      btnhand.Click();
      break;
    case EditorCommand::kExit:
      TbnExit.Click();
      break;
    case EditorCommand::kNextControl: {
      // Tab leaves a grid's cell as a move does: a refused one keeps the
      // focus, and an edit in progress stays in its cell.
      auto* grid = dynamic_cast<ColumnGrid*>(Screen.focused());
      if (grid == nullptr || grid->LeaveCell()) Screen.FocusNext(shift);
      break;
    }
  }
  return true;
}

}  // namespace tarnvex
