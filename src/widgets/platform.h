#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/busy_indicator.h"
#include "widgets/clipboard.h"
#include "widgets/font.h"
#include "widgets/form.h"
#include "widgets/message_box.h"
#include "widgets/size.h"
#include "widgets/text_popup.h"
#include "widgets/window_frame.h"

namespace tarnvex {

// What the screens need of the operating system, behind one interface: a Win32
// implementation for the real program and a headless one for tests. Message
// boxes come from MessageBoxes, the clipboard's text from Clipboard. Windows
// shown here are owned by owner's top-level window (0: no owner).
class Platform : public MessageBoxes, public Clipboard {
 public:
  // The system's default beep, as an edit gives for a key it does not take.
  virtual void Beep() = 0;

  virtual Size ScreenSize() = 0;
  // The extent of text drawn in font: line breaks honoured, no wrapping.
  virtual Size MeasureText(const Font& font, std::string_view text) = 0;
  // The caption and sizing frame of a sizeable window.
  virtual FrameMetrics SizeableFrame() = 0;
  // Whether a file exists, the path relative to the current directory.
  virtual bool FileExists(std::string_view path) = 0;

  // Shows the popup modally: no other window of the thread takes input until
  // the popup has closed, and only then does this return.
  virtual void ShowModal(WindowHandle owner, TextPopup& popup) = 0;
  // Shows a dialog modally; returns once it has closed.
  virtual void ShowModalForm(WindowHandle owner, Form& dialog) = 0;
  // Shows the busy window without modality and paints it at once; hiding
  // destroys its window. The indicator stays the caller's and outlives the
  // showing.
  virtual void ShowBusyWindow(WindowHandle owner, const BusyIndicator& busy) = 0;
  virtual void HideBusyWindow(const BusyIndicator& busy) = 0;

  // Sends message, wParam 0 and lParam 0, to a window of another part of the
  // program (the host's), and returns only after its window procedure has
  // handled it, so whatever it does then is done before the caller goes on.
  // What the messages mean is the business of the layer that sends them.
  virtual void SendWindowMessage(WindowHandle window, uint32_t message) = 0;

  // The folder of the running program (the host's executable), code page 936,
  // ending in a path separator.
  virtual std::string HostExecutableFolder() = 0;

  // The id of the running process, and whether a process of that id runs
  // now: what a file left by another process of the program tells of its
  // owner.
  virtual uint32_t ProcessId() = 0;
  virtual bool ProcessRuns(uint32_t process_id) = 0;

  // The first bytes of the named shared memory object, at most max_bytes and
  // stopping at the first zero byte; nullopt when there is no such object or it
  // cannot be read. name is code page 936.
  virtual std::optional<std::string> ReadSharedMemoryText(std::string_view name,
                                                          size_t max_bytes) = 0;

  // The text on the clipboard, code page 936; nullopt when it holds none or
  // cannot be opened.
  virtual std::optional<std::string> ClipboardText() = 0;
  // Puts text (code page 936) on the clipboard in place of what it held.
  virtual void SetClipboardText(std::string_view text) = 0;
};

}  // namespace tarnvex
