#pragma once

#include <string_view>

#include "popups/busy_window.h"
#include "popups/shortcut_popup.h"
#include "widgets/size.h"
#include "widgets/column_grid.h"
#include "widgets/form.h"

namespace tarnvex {

// What the editor's popups and dialogs need of the windowing system: the Win32
// peer draws them, tests stand in for it.
class PopupDisplay {
 public:
  virtual ~PopupDisplay() = default;
  virtual Size ScreenSize() = 0;
  // The extent of text drawn in font: line breaks honoured, no wrapping.
  virtual Size MeasureText(const Font& font, std::string_view text) = 0;
  // Shows the popup modally: every other window of the thread takes no input
  // until the popup has closed, and only then does this return.
  virtual void ShowModal(TRopInst& popup) = 0;

  // Shows a dialog modally; returns once it has closed.
  virtual void ShowModalForm(Form& dialog) = 0;

  // The caption and sizing frame of a sizeable window.
  virtual FrameMetrics SizeableFrame() = 0;
  // Whether a file exists, the path relative to the current directory.
  virtual bool FileExists(std::string_view path) = 0;
  // Shows the busy window without modality and paints it at once; hides and
  // destroys its window. The model stays the caller's.
  virtual void ShowBusyWindow(TFrmHint& hint) = 0;
  virtual void HideBusyWindow(TFrmHint& hint) = 0;
};

}  // namespace tarnvex
