#include "widgets/win32/peer_site.h"

#include "widgets/panel.h"

namespace tarnvex {

RECT PlaceOf(const Control& control) {
  const Rect& own = control.bounds();
  RECT place{own.left, own.top, own.left + own.width, own.top + own.height};
  for (const Panel* container = control.parent(); container != nullptr;
       container = container->parent()) {
    OffsetRect(&place, container->bounds().left, container->bounds().top);
  }
  return place;
}

bool VisibleInContainers(const Control& control) {
  if (!control.visible()) return false;
  for (const Panel* container = control.parent(); container != nullptr;
       container = container->parent()) {
    if (!container->visible()) return false;
  }
  return true;
}

bool PlaceWindow(HWND window, const Control& control) {
  if (window == nullptr) return false;
  RECT place = PlaceOf(control);
  RECT now{};
  GetWindowRect(window, &now);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
  const bool show = VisibleInContainers(control);
  const bool shown = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (EqualRect(&now, &place) && shown == show) return false;
  SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
               place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  return true;
}

bool ReflectToChild(HWND window, UINT message, WPARAM w_param, LPARAM l_param, LRESULT& result) {
  HWND sender = nullptr;
  UINT reflected = 0;
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(l_param);
    if (header != nullptr) sender = header->hwndFrom;
    reflected = kReflectedNotify;
  } else if (message == WM_COMMAND) {
    sender = reinterpret_cast<HWND>(l_param);
    reflected = kReflectedCommand;
  }
  if (sender == nullptr || !IsChild(window, sender)) return false;
  result = SendMessageW(sender, reflected, w_param, l_param);
  return true;
}

}  // namespace tarnvex
