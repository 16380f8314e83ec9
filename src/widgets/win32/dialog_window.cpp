#include "widgets/win32/dialog_window.h"

#include <memory>
#include <string>
#include <vector>

#include "widgets/win32/modal_loop.h"
#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/edit.h"
#include "widgets/label.h"
#include "widgets/win32/button_window.h"
#include "widgets/win32/combo_window.h"
#include "widgets/win32/edit_window.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/label_window.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/wide_text.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

namespace {

// The window of a dialog form, with a peer for each of its labels, edits,
// combo boxes and buttons. The form's bounds place its client area, and its
// colour, if it has one, is the background of the window and the labels. It
// reflects the controls' notifications back to them, turns its close box into
// the form's Close, and after every input shows the controls' state and moves
// the focus where the form has it.
class DialogWindow : public WindowBase {
 public:
  // Throws std::system_error when a window cannot be made.
  DialogWindow(HINSTANCE instance, HWND root, MessageBoxes& boxes, Form& dialog)
      : dialog_(dialog),
        font_(MakeFont({.name = "宋体", .height = -12, .charset = GB2312_CHARSET})),
        background_(dialog.colour ? CreateSolidBrush(ToColorRef(*dialog.colour)) : nullptr) {
    const Rect& bounds = dialog.bounds();
    const std::wstring caption = ToWide(dialog.caption());
    // The controls are placed in client coordinates: the window around the
    // client area grows by the caption and the frame.
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
    RECT place{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
    AdjustWindowRectEx(&place, kStyle, FALSE, kExStyle);
    CreateBound(kExStyle, kDialogClassName, caption.c_str(), kStyle, place, root, instance);
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
    if (auto* label = dynamic_cast<Label*>(&child)) {
      labels_.push_back(std::make_unique<LabelWindow>(site_, *label, font_.get()));
    } else if (auto* edit = dynamic_cast<Edit*>(&child)) {
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
    if (background_.get() != nullptr && message == WM_ERASEBKGND) {
      const RECT client = ClientRect();
      FillRect(reinterpret_cast<HDC>(w_param), &client, background_.get());
      return 1;
    }
    if (background_.get() != nullptr && message == WM_CTLCOLORSTATIC &&
        IsLabel(reinterpret_cast<HWND>(l_param))) {
      SetBkColor(reinterpret_cast<HDC>(w_param), ToColorRef(*dialog_.colour));
      return reinterpret_cast<LRESULT>(background_.get());
    }
    if (message == WM_CLOSE) {
      Form& dialog = dialog_;
      site_.Input([&dialog] { dialog.Close(); });
      return 0;
    }
    return Default(message, w_param, l_param);
  }

  bool IsLabel(HWND window) const {
    for (const auto& label : labels_) {
      if (label->window() == window) return true;
    }
    return false;
  }

  Form& dialog_;
  GdiObject<HFONT> font_;
  GdiObject<HBRUSH> background_;
  PeerSite site_;
  // Declared after the font and the brush: the controls go first, while they
  // still exist.
  std::vector<std::unique_ptr<LabelWindow>> labels_;
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
  HWND root = GetAncestor(owner, GA_ROOT);
  DialogWindow window(instance, root, boxes, dialog);
  BorrowedHandle handle(dialog, window.window());
  // Modal: the editor and the host take no input until the dialog closes.
  RunModalLoop(
      root, window.window(), [&dialog] { return dialog.closed(); }, [&window] { window.Render(); },
      [] {});
}

}  // namespace tarnvex
