#include "widgets/win32/combo_window.h"

#include <commctrl.h>

#include <string>

#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

// The height of the dropped-down list below the box.
constexpr int kListHeight = 120;

}  // namespace

ComboWindow::ComboWindow(const PeerSite& site, Form& form, ComboBox& combo, HFONT font)
    : DialogControlWindow(site, form, combo, font, 0, WC_COMBOBOXW, nullptr,
                          WS_VSCROLL | CBS_DROPDOWNLIST, kListHeight),
      combo_(combo) {
  for (const std::string& item : combo.items()) {
    SendMessageW(window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
  }
}

void ComboWindow::Sync() {
  if (SendMessageW(window(), CB_GETCURSEL, 0, 0) != combo_.item_index()) {
    SendMessageW(window(), CB_SETCURSEL, static_cast<WPARAM>(combo_.item_index()), 0);
  }
}

bool ComboWindow::Key(KeyCode key) {
  // The open list's keys are the control's own: Enter picks the item and
  // closes the list, and must not go on to confirm the dialog.
  if (SendMessageW(window(), CB_GETDROPPEDSTATE, 0, 0) != 0) return false;
  site().Input([&] { combo_.PressKey(key); });
  return key == kKeyReturn;
}

void ComboWindow::Command(WORD code) {
  if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
    site().Input([&] { combo_.SetDroppedDown(code == CBN_DROPDOWN); });
    return;
  }
  if (code != CBN_SELCHANGE) return;
  const auto index = static_cast<int>(SendMessageW(window(), CB_GETCURSEL, 0, 0));
  site().Input([&] { combo_.SetItemIndex(index); });
}

}  // namespace tarnvex
