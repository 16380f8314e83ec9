#pragma once

#include <windows.h>

#include <functional>

namespace tarnvex {

// Shows window modally over root: the host's and the editor's windows take no
// input until closed() turns true or the window is gone. Runs its own message
// loop, since the host's loop is busy calling us. Afterwards root is enabled
// again, before_destroy runs, the window is destroyed and the keys go back to
// the window that had them. A WM_QUIT met on the way is posted again, so that
// the host's loop still sees it. after_show runs once the window is shown.
void RunModalLoop(HWND root, HWND window, const std::function<bool()>& closed,
                  const std::function<void()>& after_show,
                  const std::function<void()>& before_destroy);

}  // namespace tarnvex
