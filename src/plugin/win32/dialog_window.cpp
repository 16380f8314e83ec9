#include "plugin/win32/dialog_window.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin/win32/modal_loop.h"
#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/edit.h"
#include "widgets/win32/button_window.h"
#include "widgets/win32/combo_window.h"
#include "widgets/win32/creation_calls.h"
#include "widgets/win32/edit_window.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/wide_text.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

namespace {

// The window of a dialog form, with a peer for each of its edits, combo
// boxes and buttons. It reflects their notifications back to them, turns its
// close box into the form's Close, and after every input shows the controls'
// state and moves the focus where the form has it.
class DialogWindow : public WindowBase {
 public:
  // Throws std::system_error when a window cannot be made.
  DialogWindow(HINSTANCE instance, HWND root, MessageBoxes& boxes, Form& dialog)
      : dialog_(dialog),
        font_(MakeFont({.name = "宋体", .height = -12, .charset = GB2312_CHARSET})) {
    const Rect& bounds = dialog.bounds();
    const std::wstring caption = ToWide(dialog.caption());
    CreateBound(WS_EX_DLGMODALFRAME, kDialogClassName, caption.c_str(),
                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height},
                root, instance);
    site_.instance = instance;
    site_.parent = window();
    site_.boxes = &boxes;
    site_.owner = reinterpret_cast<WindowHandle>(window());
    site_.changed = [this] { Render(); };
    for (Control* child : dialog.children()) AddPeer(*child);
  }

  void Render() {
    for (const auto& peer : peers_) peer->Sync();
    if (dialog_.focused() == focused_) return;
    focused_ = dialog_.focused();
    if (focused_ != nullptr && focused_->handle() != 0) {
      SetFocus(reinterpret_cast<HWND>(focused_->handle()));
    }
  }

 private:
  void AddPeer(Control& child) {
    if (auto* edit = dynamic_cast<Edit*>(&child)) {
      peers_.push_back(std::make_unique<EditWindow>(site_, dialog_, *edit, font_.get()));
    } else if (auto* combo = dynamic_cast<ComboBox*>(&child)) {
      peers_.push_back(std::make_unique<ComboWindow>(site_, dialog_, *combo, font_.get()));
    } else if (auto* button = dynamic_cast<Button*>(&child)) {
      peers_.push_back(std::make_unique<ButtonWindow>(site_, dialog_, *button, font_.get()));
    }
  }

  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override {
    LRESULT result = 0;
    if (ReflectToChild(window(), message, w_param, l_param, result)) return result;
    if (message == WM_CLOSE) {
      Form& dialog = dialog_;
      site_.Input([&dialog] { dialog.Close(); });
      return 0;
    }
    return Default(message, w_param, l_param);
  }

  Form& dialog_;
  GdiObject<HFONT> font_;
  PeerSite site_;
  // Declared after the font: the controls go first, while it still exists.
  std::vector<std::unique_ptr<DialogControlWindow>> peers_;
  const Control* focused_ = nullptr;
};

// Gives a form a window handle for as long as this lives.
class BorrowedHandle {
 public:
  BorrowedHandle(Control& control, HWND window) : control_(control), old_(control.handle()) {
    control.set_handle(reinterpret_cast<WindowHandle>(window));
  }
  ~BorrowedHandle() { control_.set_handle(old_); }
  BorrowedHandle(const BorrowedHandle&) = delete;
  BorrowedHandle& operator=(const BorrowedHandle&) = delete;

 private:
  Control& control_;
  WindowHandle old_;
};

}  // namespace

void ShowDialogModally(HINSTANCE instance, HWND owner, MessageBoxes& boxes, Form& dialog) {
  std::optional<CreationFault> fault;
  CreationFault::FromEnvironment(fault);
  HWND root = GetAncestor(owner, GA_ROOT);
  DialogWindow window(instance, root, boxes, dialog);
  BorrowedHandle handle(dialog, window.window());
  // Modal: the editor and the host take no input until the dialog closes.
  RunModalLoop(
      root, window.window(), [&dialog] { return dialog.closed(); }, [&window] { window.Render(); },
      [] {});
}

}  // namespace tarnvex
