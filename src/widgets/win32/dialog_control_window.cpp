#include "widgets/win32/dialog_control_window.h"

#include <vector>

#include "widgets/button.h"

namespace tarnvex {

DialogControlWindow::DialogControlWindow(const PeerSite& site, Form& form, Control& control,
                                         HFONT font, DWORD ex_style, const wchar_t* class_name,
                                         const wchar_t* text, DWORD style, int extra_height)
    : site_(site), form_(form), control_(control) {
  // The bounds are the form's client coordinates, which are the dialog
  // window's.
  const Rect& place = control.bounds();
  CreateSubclassed(
      ex_style, class_name, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
      {place.left, place.top, place.left + place.width, place.top + place.height + extra_height},
      site.parent, site.instance);
  SendMessageW(window(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  control.set_handle(reinterpret_cast<WindowHandle>(window()));
}

bool DialogControlWindow::Character(wchar_t character) {
  // Tab, Enter and Esc are handled as keys; the beep of an unused one is not.
  return character == L'\t' || character == L'\r' || character == 27;
}

void DialogControlWindow::MoveFocus(bool backwards) {
  Form& form = form_;
  const Control* from = &control_;
  site_.Input([&form, from, backwards] {
    std::vector<Control*> order;
    for (Control* child : form.children()) {
      if (child->handle() != 0 && child->TakesFocus()) order.push_back(child);
    }
    const int count = static_cast<int>(order.size());
    int at = 0;
    for (int i = 0; i < count; ++i) {
      if (order[i] == from) at = i;
    }
    form.SetFocus(*order[(at + (backwards ? count - 1 : 1)) % count]);
  });
}

bool DialogControlWindow::AccessKey(wchar_t character) {
  const wchar_t upper =
      character >= L'a' && character <= L'z' ? character - L'a' + L'A' : character;
  for (Control* child : form_.children()) {
    auto* button = dynamic_cast<Button*>(child);
    if (button == nullptr || button->access_key() == 0 ||
        static_cast<wchar_t>(button->access_key()) != upper) {
      continue;
    }
    site_.Input([button] { button->Click(); });
    return true;
  }
  return false;
}

LRESULT DialogControlWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | Default(message, w_param, l_param);
    case WM_SETFOCUS:
      form_.SetFocus(control_);
      break;
    case WM_KEYDOWN: {
      const auto key = static_cast<KeyCode>(w_param);
      if (key == kKeyTab) {
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return 0;
      }
      if (key == kKeyEscape) {
        Form& form = form_;
        site_.Input([&form] { form.Close(); });
        return 0;
      }
      if (Key(key)) return 0;
      break;
    }
    case WM_SYSCHAR:
      if (AccessKey(static_cast<wchar_t>(w_param))) return 0;
      break;
    case WM_CHAR:
      if (Character(static_cast<wchar_t>(w_param))) return 0;
      break;
    case kReflectedCommand:
      Command(HIWORD(w_param));
      return 0;
    default:
      break;
  }
  return Default(message, w_param, l_param);
}

}  // namespace tarnvex
