#include "widgets/win32/edit_window.h"

#include <string>

#include "widgets/win32/clipboard_text.h"
#include "widgets/win32/edit_text.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

EditWindow::EditWindow(const PeerSite& site, Form& form, Edit& edit, HFONT font)
    : DialogControlWindow(site, form, edit, font, WS_EX_CLIENTEDGE, L"EDIT", nullptr,
                          ES_AUTOHSCROLL, 0),
      edit_(edit) {}

void EditWindow::Sync() { ShowEditText(window(), ToWide(edit_.text())); }

bool EditWindow::Key(KeyCode key) {
  site().Input([&] { edit_.PressKey(key); });
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
    case WM_PASTE: {
      const std::string pasted = FromWide(ClipboardText(window()));
      site().Input([&] { edit_.Paste(pasted); });
      return 0;
    }
    case WM_NCPAINT: {
      const LRESULT result = DialogControlWindow::Handle(message, w_param, l_param);
      if (edit_.frame_colour) PaintFrame(*edit_.frame_colour);
      return result;
    }
    default:
      if (IsOwnTextChange(message)) return 0;
      return DialogControlWindow::Handle(message, w_param, l_param);
  }
}

}  // namespace tarnvex
