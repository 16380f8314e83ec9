#include "plugin/win32/modal_loop.h"

namespace tarnvex {

void RunModalLoop(HWND root, HWND window, const std::function<bool()>& closed,
                  const std::function<void()>& after_show,
                  const std::function<void()>& before_destroy) {
  HWND focus = GetFocus();
  const bool root_was_enabled = root != nullptr && IsWindowEnabled(root);
  if (root_was_enabled) EnableWindow(root, FALSE);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  after_show();
  MSG message{};
  bool quit = false;
  while (!closed() && IsWindow(window)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (root_was_enabled) EnableWindow(root, TRUE);
  if (IsWindow(window)) {
    before_destroy();
    DestroyWindow(window);
  }
  if (focus != nullptr && IsWindow(focus)) {
    if (root != nullptr) SetForegroundWindow(root);
    SetFocus(focus);
  }
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

}  // namespace tarnvex
