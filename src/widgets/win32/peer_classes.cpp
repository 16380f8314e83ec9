#include "widgets/win32/peer_classes.h"

#include <commctrl.h>

#include "widgets/win32/dialog_window.h"
#include "widgets/win32/grid_window.h"
#include "widgets/win32/popup_windows.h"
#include "widgets/win32/splitter_window.h"
#include "widgets/win32/tool_bar_window.h"

namespace tarnvex {

namespace {

HINSTANCE WithCommonControls(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  return instance;
}

}  // namespace

PeerClasses::PeerClasses(HINSTANCE instance)
    : instance_(WithCommonControls(instance)),
      grid_(instance, GridWindow::kClassName, WindowBase::Procedure, COLOR_WINDOW),
      tool_bar_(instance, ToolBarWindow::kClassName, WindowBase::Procedure, COLOR_BTNFACE),
      splitter_(instance, SplitterWindow::kClassName, WindowBase::Procedure, COLOR_BTNSHADOW),
      // No background: a text popup leaves the screen beneath where it paints
      // nothing.
      popup_(instance, PopupWindows::kPopupClassName, WindowBase::Procedure, -1),
      busy_(instance, PopupWindows::kBusyClassName, DefWindowProcW, COLOR_BTNFACE),
      dialog_(instance, kDialogClassName, WindowBase::Procedure, COLOR_BTNFACE) {}

}  // namespace tarnvex
