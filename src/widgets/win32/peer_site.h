#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "widgets/message_box.h"
#include "widgets/control.h"
#include "widgets/event_guard.h"

namespace tarnvex {

// What the peers of one screen share: the window they are children of, where
// errors go, and what happens after every input they pass on. A peer only
// renders its control and turns messages into the control's input methods;
// the control's handlers may change any control of the screen, so after each
// input the whole screen is rendered again (Changed).
struct PeerSite {
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;
  MessageBoxes* boxes = nullptr;
  WindowHandle owner = 0;
  std::function<void()> changed;

  // What an error in a control's own input handling reports as failed: the
  // editor's handlers name their operations themselves.
  static constexpr char kInputOperation[] = "操作";

  // Runs one input method of a control inside the guard, then renders. The
  // event may end with the peer destroyed (the exit button, a host that
  // destroys its window when told the editor closed), so nothing of the peer
  // is touched after it: what is needed is copied first, and changed checks
  // by itself whether the screen is still there.
  template <typename Event>
  void Input(Event&& input) const {
    std::function<void()> render = changed;
    GuardEvent(*boxes, owner, kInputOperation, std::forward<Event>(input));
    if (render) render();
  }
};

// The control's rectangle in the coordinates of the window that holds the
// peers: the controls' bounds are relative to their containers.
RECT PlaceOf(const Control& control);
// Whether the control and every container above it are visible; whether the
// form is shown is its window's business.
bool VisibleInContainers(const Control& control);
// Moves and shows or hides a peer's window as its control says; false when it
// already was where and as the control says.
bool PlaceWindow(HWND window, const Control& control);

// A WM_NOTIFY or WM_COMMAND that the holder window sends back to the control
// that raised it, so the control's peer turns it into an input. wParam and
// lParam are the original ones.
inline constexpr UINT kReflectedNotify = WM_APP + 40;
inline constexpr UINT kReflectedCommand = WM_APP + 41;

// Sends a WM_NOTIFY or WM_COMMAND from a child of window back to that child;
// false when the message is neither or its sender is not a child.
bool ReflectToChild(HWND window, UINT message, WPARAM w_param, LPARAM l_param, LRESULT& result);

}  // namespace tarnvex
