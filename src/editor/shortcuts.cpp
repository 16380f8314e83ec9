// The shortcut guide and the keys it promises.

#include "editor/subsidy_set_form.h"

namespace tarnvex {

namespace {

constexpr KeyCode kKeyF1 = 0x70;
constexpr KeyCode kKeyD = 'D';
constexpr KeyCode kKeyR = 'R';
constexpr KeyCode kKeyS = 'S';

}  // namespace

void TfrmSubsidySet::SetUpShortcutGuide() {
  RopHelp.Lines = {"快捷键指南",          "",
                   "     CTR+D   : 删除", "     CTR+S   : 保存",
                   "     CTR+R   : 刷新", "     F1      : 帮助",
                   "     ESC     : 退出"};
  // Black is the window-text colour of every standard scheme.
  RopHelp.font = {.name = "宋体", .height = -12, .charset = kGb2312Charset, .colour = 0x000000};
}

void TfrmSubsidySet::btnhandClick() { RopHelp.Execute(platform(), window()); }

bool TfrmSubsidySet::TakesFormKey(KeyCode key, bool ctrl) const {
  if (ctrl) return key == kKeyS || key == kKeyD || key == kKeyR;
  // The grids never take Tab as a cell move: it leaves the control, and an
  // edit in progress stays in its cell, which already holds the text.
  if (key == kKeyTab || key == kKeyF1) return true;
  // An Esc during an in-place edit belongs to the grid, which ends the edit;
  // closing the editor then would throw the edit away with it. So does one
  // that closes a cell's open pick list.
  if (key == kKeyEscape) {
    return !cgdArc.editing() && !cgdType.editing() && !cgdArc.dropped_down() &&
           !cgdType.dropped_down();
  }
  return false;
}

bool TfrmSubsidySet::FormKeyDown(KeyCode key, bool ctrl, bool shift) {
  if (!TakesFormKey(key, ctrl)) return false;
  if (ctrl) {
    if (key == kKeyS) TbnSave.Click();
    if (key == kKeyD) TbnDelRow.Click();
    if (key == kKeyR) btnRefresh.Click();
  } else if (key == kKeyTab) {
    // Tab leaves the grid's cell as a move does: a refused one keeps the focus.
    ColumnGrid* grid = Screen.focused() == &cgdArc    ? &cgdArc
                       : Screen.focused() == &cgdType ? &cgdType
                                                      : nullptr;
    if (grid == nullptr || grid->LeaveCell()) Screen.FocusNext(shift);
  } else if (key == kKeyF1) {
    btnhand.Click();
  } else {
    TbnExit.Click();
  }
  return true;
}

}  // namespace tarnvex
