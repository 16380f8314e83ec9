#include "widgets/win32/label_window.h"

#include "widgets/win32/wide_text.h"

namespace tarnvex {

LabelWindow::LabelWindow(const PeerSite& site, Label& label, HFONT font) {
  // The bounds are the form's client coordinates, which are the dialog
  // window's.
  const Rect& own = label.bounds();
  const RECT place{own.left, own.top, own.left + own.width, own.top + own.height};
  // SS_NOPREFIX: a caption's "&" is text, not an access key.
  CreateSubclassed(0, L"STATIC", ToWide(label.caption()).c_str(),
                   WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, place, site.parent,
                   site.instance);
  SendMessageW(window(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  label.set_handle(reinterpret_cast<WindowHandle>(window()));
}

}  // namespace tarnvex
