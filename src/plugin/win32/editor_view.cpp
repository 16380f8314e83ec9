#include "plugin/win32/editor_view.h"

#include <algorithm>
#include <vector>

#include "widgets/event_guard.h"
#include "widgets/win32/creation_calls.h"
#include "widgets/win32/last_error.h"
#include "widgets/win32/owned_hook.h"

namespace tarnvex {

// One WH_GETMESSAGE hook on the thread for all editors open on it: it sees
// every key going down before the window with the focus does, and hands the
// keys meant for an editor to the editor's FormKeyDown. A key the editor uses
// up never reaches the focused control.
class EditorView::KeyHook {
 public:
  // Throws std::system_error when the hook cannot be set.
  static void Add(EditorView& view) {
    views().push_back(&view);
    if (hook().get() != nullptr) return;
    hook() =
        OwnedHook(Creation().set_hook(WH_GETMESSAGE, Procedure, nullptr, GetCurrentThreadId()));
    if (hook().get() == nullptr) {
      views().pop_back();
      ThrowLastError("SetWindowsHookExW");
    }
  }

  static void Remove(EditorView& view) {
    std::erase(views(), &view);
    if (views().empty()) hook().Reset();
  }

 private:
  static std::vector<EditorView*>& views() {
    static std::vector<EditorView*> open;
    return open;
  }
  // Set with the first view, removed with the last.
  static OwnedHook& hook() {
    static OwnedHook installed;
    return installed;
  }

  static LRESULT CALLBACK Procedure(int code, WPARAM w_param, LPARAM l_param) {
    auto* message = reinterpret_cast<MSG*>(l_param);
    if (code == HC_ACTION && w_param == PM_REMOVE && message->message == WM_KEYDOWN) {
      // A copy: the key may close an editor, which removes it from the list.
      const std::vector<EditorView*> open = views();
      for (EditorView* view : open) {
        const HWND form = view->form_window_;
        if (message->hwnd != form && !IsChild(form, message->hwnd)) continue;
        const auto key = static_cast<KeyCode>(message->wParam);
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        TfrmSubsidySet& editor = view->editor_;
        const Control* focused = editor.Screen.focused();
        view->FollowFocus(message->hwnd);
        const bool refocused = editor.Screen.focused() != focused;
        bool used = false;
        // A copy: the key may end with the view destroyed.
        PeerSite site = view->site_;
        GuardEvent(*site.boxes, site.owner, PeerSite::kInputOperation,
                   [&] { used = editor.FormKeyDown(key, ctrl, shift); });
        // A key that is no shortcut changed nothing here; the control it goes
        // on to renders after its own input. One render less per keystroke.
        if ((used || refocused) && site.changed) site.changed();
        if (used) message->message = WM_NULL;
        break;
      }
    }
    return CallNextHookEx(nullptr, code, w_param, l_param);
  }
};

EditorView::EditorView(const PeerSite& site, TfrmSubsidySet& editor, HWND form_window)
    : site_(site),
      editor_(editor),
      form_window_(form_window),
      tool_bar_(site, editor.ToolBar, images_.get()),
      tree_(site, editor.TreeNT, images_.get()),
      splitter1_(site, editor.Splitter1),
      item_grid_(site, editor.cgdArc),
      splitter2_(site, editor.Splitter2),
      type_grid_(site, editor.cgdType) {
  KeyHook::Add(*this);
}

EditorView::~EditorView() { KeyHook::Remove(*this); }

void EditorView::FollowFocus(HWND window) {
  for (HWND at = window; at != nullptr && at != form_window_; at = GetParent(at)) {
    for (Control* control : editor_.Screen.tab_order()) {
      if (reinterpret_cast<HWND>(control->handle()) != at) continue;
      editor_.Screen.SetFocus(*control);
      // Already where the screen says: the next render has nothing to move.
      focused_ = control;
      return;
    }
  }
}

void EditorView::Render() {
  // Rendering moves windows, which may send messages that end in another
  // render; one at a time is enough.
  if (rendering_) return;
  rendering_ = true;
  tool_bar_.Sync();
  tree_.Sync();
  splitter1_.Sync();
  item_grid_.Sync();
  splitter2_.Sync();
  type_grid_.Sync();
  const Control* focused = editor_.Screen.focused();
  if (focused != focused_) {
    focused_ = focused;
    if (focused != nullptr && focused->handle() != 0 && IsWindowVisible(form_window_)) {
      SetFocus(reinterpret_cast<HWND>(focused->handle()));
    }
  }
  rendering_ = false;
}

}  // namespace tarnvex
