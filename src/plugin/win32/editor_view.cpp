#include "plugin/win32/editor_view.h"

#include <algorithm>
#include <vector>

#include "widgets/event_guard.h"
#include "widgets/win32/creation_calls.h"
#include "widgets/win32/edit_text.h"
#include "widgets/win32/last_error.h"
#include "widgets/win32/owned_hook.h"

namespace tarnvex {

namespace {

// Posted to the form window by the key hook: an editor key to run, with the
// Ctrl and Shift keys held with it (bits 0 and 1 of lParam).
constexpr UINT kFormKeyMessage = kFirstViewMessage;
// The form window's timer that stands for the editor's DraftTimer.
constexpr UINT_PTR kDraftTimerId = 1;

}  // namespace

// One WH_KEYBOARD hook on the thread for all editors open on it: it sees
// every key going down before the window with the focus does and takes the
// keys meant for an editor (TakesFormKey), which then never reach the
// focused control. (A keyboard hook runs for key messages only; a
// WH_GETMESSAGE one would cost every message of the thread, paints included,
// three round trips to the server under Wine.) The hook runs while the key
// is still in the queue, so a key that opens a popup with a message loop of
// its own (F1, a save's boxes) would come round again there: the key is run
// from the form window's message, posted here, which comes before any input
// still queued.
class EditorView::KeyHook {
 public:
  // Throws std::system_error when the hook cannot be set.
  static void Add(EditorView& view) {
    views().push_back(&view);
    if (hook().get() != nullptr) return;
    hook() = OwnedHook(Creation().set_hook(WH_KEYBOARD, Procedure, nullptr, GetCurrentThreadId()));
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

  // l_param of a keyboard hook: the key's previous state and its transition
  // in the top bits; bit 29 is set while Alt is held (WM_SYSKEYDOWN), which
  // no editor key uses.
  static bool GoesDown(LPARAM l_param) { return (static_cast<DWORD>(l_param) & 0x80000000u) == 0; }
  static bool WithAlt(LPARAM l_param) { return (static_cast<DWORD>(l_param) & 0x20000000u) != 0; }

  static LRESULT CALLBACK Procedure(int code, WPARAM w_param, LPARAM l_param) {
    // HC_ACTION: the key message is being taken from the queue; it goes to
    // the window with the focus. VK_PACKET brings a character typed as
    // Unicode (an input method, SendInput): never an editor key, and Wine
    // marks its going up as going down.
    if (code == HC_ACTION && w_param != VK_PACKET && GoesDown(l_param) && !WithAlt(l_param)) {
      const HWND target = GetFocus();
      for (EditorView* view : views()) {
        const HWND form = view->form_window_;
        if (target == nullptr || (target != form && !IsChild(form, target))) continue;
        const auto key = static_cast<KeyCode>(w_param);
        const KeyModifiers held = HeldModifiers();
        TfrmSubsidySet& editor = view->editor_;
        const Control* focused = editor.Screen.focused();
        view->FollowFocus(target);
        if (editor.Screen.focused() != focused && view->site_.changed) view->site_.changed();
        if (!editor.TakesFormKey(key, held.ctrl, held.shift)) break;
        PostMessageW(form, kFormKeyMessage, w_param, (held.ctrl ? 1 : 0) | (held.shift ? 2 : 0));
        // Non-zero: the key is taken from the queue and dropped.
        return 1;
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

EditorView::~EditorView() {
  KeyHook::Remove(*this);
  if (draft_timer_set_) KillTimer(form_window_, kDraftTimerId);
}

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

bool EditorView::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  // A copy: the key or the timer may end with the view destroyed.
  PeerSite site = site_;
  if (message == WM_TIMER && w_param == kDraftTimerId) {
    // Once per arming: the editor arms it again for its next edit.
    KillTimer(form_window_, kDraftTimerId);
    draft_timer_set_ = false;
    GuardEvent(*site.boxes, site.owner, PeerSite::kInputOperation,
               [&] { editor_.DraftTimer.Elapse(); });
    if (site.changed) site.changed();
    return true;
  }
  if (message != kFormKeyMessage) return false;
  GuardEvent(*site.boxes, site.owner, PeerSite::kInputOperation, [&] {
    editor_.FormKeyDown(static_cast<KeyCode>(w_param), (l_param & 1) != 0, (l_param & 2) != 0);
  });
  if (site.changed) site.changed();
  return true;
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
  if (editor_.DraftTimer.enabled() != draft_timer_set_) {
    draft_timer_set_ = editor_.DraftTimer.enabled();
    if (draft_timer_set_) {
      SetTimer(form_window_, kDraftTimerId, editor_.DraftTimer.interval(), nullptr);
    } else {
      KillTimer(form_window_, kDraftTimerId);
    }
  }
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
