#include "widgets/win32/modal_loop.h"

#include "widgets/win32/modal_disable.h"

namespace tarnvex {

void RunModalLoop(HWND root, HWND window, const std::function<bool()>& closed,
                  const std::function<void()>& after_show,
                  const std::function<void()>& before_destroy) {
  HWND focus = GetFocus();
  ModalDisable disabled(root);
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
  // Enabled before the window goes, so that the system activates root
  // rather than some other program's window.
  disabled.End();
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
