#include "widgets/win32/edit_window.h"

#include <string>

#include "widgets/win32/edit_text.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

EditWindow::EditWindow(const PeerSite& site, Form& form, Edit& edit, HFONT font)
    : DialogControlWindow(site, form, edit, font, WS_EX_CLIENTEDGE, L"EDIT", nullptr,
                          ES_AUTOHSCROLL, 0),
      edit_(edit) {}

void EditWindow::Sync() {
  ShowEditText(window(), ToWide(edit_.text()));
  ShowEditSelection(window(), edit_.text(), edit_.anchor(), edit_.caret());
}

bool EditWindow::Key(KeyCode key) {
  const KeyModifiers modifiers = HeldModifiers();
  site().Input([&] { edit_.PressKey(key, modifiers); });
  return true;
}

bool EditWindow::Character(wchar_t character) {
  site().Input([&] {
    // The model takes code page 936 bytes: a Chinese character is its two.
    if (character < 0x80) {
      edit_.TypeChar(static_cast<char>(character));
    } else {
      edit_.TypeText(FromWide(std::wstring(1, character)));
    }
  });
  return true;
}

void EditWindow::PaintFrame(Colour colour) {
  // Over the outer line of the sunken edge the system just drew.
  RECT outer{};
  GetWindowRect(window(), &outer);
  OffsetRect(&outer, -outer.left, -outer.top);
  HDC dc = GetWindowDC(window());
  if (dc == nullptr) return;
  GdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(colour)));
  FrameRect(dc, &outer, brush.get());
  ReleaseDC(window(), dc);
}

LRESULT EditWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      // The EDIT places the caret under the mouse; the model takes it over.
      const LRESULT result = DialogControlWindow::Handle(message, w_param, l_param);
      const auto selection =
          SelectionByMouse(window(), message, w_param, edit_.text(), drag_anchor_);
      if (selection) site().Input([&] { edit_.SelectText(selection->anchor, selection->caret); });
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = DialogControlWindow::Handle(message, w_param, l_param);
      if (edit_.frame_colour) PaintFrame(*edit_.frame_colour);
      return result;
    }
    default:
      if (const auto command = KeyOfEditCommand(message)) {
        site().Input([&] { edit_.PressKey(command->key, command->modifiers); });
        return 0;
      }
      return DialogControlWindow::Handle(message, w_param, l_param);
  }
}

}  // namespace tarnvex
