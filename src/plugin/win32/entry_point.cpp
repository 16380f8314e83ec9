#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "host/win32/com_ptr.h"
#include "editor/subsidy_set_form.h"
#include "host/win32/dispatch_host_data_service.h"
#include "embedding/host_messages.h"
#include "embedding/plugin_context.h"
#include "plugin/win32/editor_view.h"
#include "plugin/win32/plugin_module.h"
#include "widgets/event_guard.h"
#include "widgets/win32/win32_platform.h"

namespace tarnvex {

namespace {

// Turns the editor's top-level popup into a child of the host's window. The
// style must change before SetParent, and the frame is recomputed after it;
// the editor sits at the top left of its parent and keeps its size.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-setparent
void EmbedInParent(HWND editor, HWND parent) {
  LONG_PTR style = GetWindowLongPtrW(editor, GWL_STYLE);
  SetWindowLongPtrW(editor, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
  SetParent(editor, parent);
  SetWindowPos(editor, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void OpenEditor(HWND notify_control, const uint8_t* operator_code, HWND parent,
                IDispatch* host_data_service) {
  // 1. The operator code, copied before anything can change the caller's bytes.
  std::string code = OperatorCodeFromLengthPrefixed(operator_code);
  // 2. A reference of our own on the host's object for the length of the call.
  ComPtr<IDispatch> call_reference(host_data_service);
  PluginModule& module = PluginModule::Get();
  // 3. to 5. The context, replacing an earlier call's (and releasing its object).
  module.context().Store(reinterpret_cast<WindowHandle>(notify_control),
                         std::make_shared<DispatchHostDataService>(call_reference),
                         std::move(code));
  // An editor without a parent window would be a child of nothing, never
  // shown and never destroyed.
  if (!IsWindow(parent)) throw std::invalid_argument("宿主没有提供有效的父窗口");
  // 6. The editor, whose creation loads its data; its controls' windows are
  // made first, so that what loading shows has the right owners.
  auto form = std::make_unique<TfrmSubsidySet>(module.platform(), module.context());
  TfrmSubsidySet& screen = *form;
  HWND editor = module.forms().Open(
      std::move(form), module.platform(), [&screen](const PeerSite& site, HWND form_window) {
        return std::make_unique<EditorView>(site, screen, form_window);
      });
  // 7. A child of the parent's window: destroying the parent destroys it too.
  EmbedInParent(editor, parent);
  // 8. PanelMain takes the parent's height, then its width, by the same rule
  // as the host's resize message.
  RECT client{};
  GetClientRect(parent, &client);
  SendMessageW(editor, kHostResizeMessage, static_cast<WPARAM>(client.bottom - client.top),
               static_cast<LPARAM>(client.right - client.left));
  // 9. Shown; the show handler runs inside.
  SendMessageW(editor, kShowFormMessage, 0, 0);
  // 10. call_reference is dropped here; the stored reference remains.
}

}  // namespace

}  // namespace tarnvex

// The library's only entry point, called by the host on its user-interface
// thread. Argument 1 is not used. The host's controls arrive as their window
// handles; operator_code is one length byte and that many bytes of code page
// 936. Nothing is reported to the host: a failure is shown to the operator,
// and no exception may unwind into the caller.
extern "C" void __stdcall GetfrmSubsidySet(int32_t /*unused*/, HWND notify_control,
                                           const uint8_t* operator_code, HWND parent,
                                           IDispatch* host_data_service) {
  tarnvex::Win32Platform boxes;
  tarnvex::GuardEvent(
      boxes, reinterpret_cast<tarnvex::WindowHandle>(parent), "打开津贴项目设置",
      [&] { tarnvex::OpenEditor(notify_control, operator_code, parent, host_data_service); });
}
