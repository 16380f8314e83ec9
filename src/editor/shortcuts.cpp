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

bool TfrmSubsidySet::FormKeyDown(KeyCode key, bool ctrl, bool shift) {
  if (ctrl) {
    switch (key) {
      case kKeyS:
        TbnSave.Click();
        return true;
      case kKeyD:
        TbnDelRow.Click();
        return true;
      case kKeyR:
        btnRefresh.Click();
        return true;
      default:
        return false;
    }
  }
  if (key == kKeyTab) {
    // The grids never take Tab as a cell move: it leaves the control, and an
    // edit in progress stays in its cell, which already holds the text.
    Screen.FocusNext(shift);
    return true;
  }
  if (key == kKeyF1) {
    btnhand.Click();
    return true;
  }
  if (key == kKeyEscape) {
    // An Esc during an in-place edit belongs to the grid, which ends the edit;
    // closing the editor then would throw the edit away with it.
    if (cgdArc.editing() || cgdType.editing()) return false;
    TbnExit.Click();
    return true;
  }
  return false;
}

}  // namespace tarnvex
