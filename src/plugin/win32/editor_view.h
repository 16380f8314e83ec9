#pragma once

#include <windows.h>

#include <memory>

#include "editor/subsidy_set_form.h"
#include "plugin/win32/editor_pictures.h"
#include "plugin/win32/form_windows.h"
#include "widgets/win32/grid_window.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/splitter_window.h"
#include "widgets/win32/tool_bar_window.h"
#include "widgets/win32/tree_window.h"

namespace tarnvex {

// The window side of the allowance editor: a peer for each of its controls on
// PanelMain's window, and its key bindings (Ctrl+S, Ctrl+D, Ctrl+R, F1, Esc),
// which must work whichever of its windows has the focus although the host's
// message loop knows nothing of them. The editor's DraftTimer runs as a
// timer of the form window.
class EditorView : public FormView {
 public:
  // Throws std::system_error when a window cannot be made.
  EditorView(const PeerSite& site, TfrmSubsidySet& editor, HWND form_window);
  ~EditorView() override;

  void Render() override;
  bool Handle(UINT message, WPARAM w_param, LPARAM l_param) override;

 private:
  class KeyHook;

  // The screen's focus follows a focus the operator moved with the mouse or
  // that a window took by itself: window, or the window it lies on, is the
  // control of the tab order that gets it.
  void FollowFocus(HWND window);

  PeerSite site_;
  TfrmSubsidySet& editor_;
  HWND form_window_;
  EditorPictures images_;
  ToolBarWindow tool_bar_;
  TreeWindow tree_;
  SplitterWindow splitter1_;
  GridWindow item_grid_;
  SplitterWindow splitter2_;
  GridWindow type_grid_;
  const Control* focused_ = nullptr;
  bool rendering_ = false;
  // Whether the form window's timer runs for the editor's DraftTimer.
  bool draft_timer_set_ = false;
};

}  // namespace tarnvex
