#include "plugin/win32/dialog_window.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/win32/modal_loop.h"
#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/edit.h"
#include "widgets/win32/event_guard.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

constexpr UINT_PTR kSubclassId = 1;

struct DialogControl {
  Control* control;
  HWND window;
};

struct DialogState {
  Form* form = nullptr;
  MessageBoxes* boxes = nullptr;
  HWND window = nullptr;
  std::vector<DialogControl> controls;
  GdiObject<HFONT> font;
  const Control* focused = nullptr;

  template <typename Event>
  void Input(Event&& event) {
    RunGuarded(*boxes, reinterpret_cast<WindowHandle>(window), event);
    Render();
  }

  // The edits show their models' text; the focus follows the form's.
  void Render() {
    for (const DialogControl& item : controls) {
      if (auto* edit = dynamic_cast<Edit*>(item.control)) {
        const std::wstring text = ToWide(edit->text());
        wchar_t shown[512] = {};
        GetWindowTextW(item.window, shown, 512);
        if (text != shown) {
          SetWindowTextW(item.window, text.c_str());
          SendMessageW(item.window, EM_SETSEL, text.size(), text.size());
        }
      } else if (auto* combo = dynamic_cast<ComboBox*>(item.control)) {
        if (SendMessageW(item.window, CB_GETCURSEL, 0, 0) != combo->item_index()) {
          SendMessageW(item.window, CB_SETCURSEL, static_cast<WPARAM>(combo->item_index()), 0);
        }
      }
    }
    if (form->focused() != focused) {
      focused = form->focused();
      for (const DialogControl& item : controls) {
        if (item.control == focused) SetFocus(item.window);
      }
    }
  }

  DialogControl* Find(HWND child) {
    for (DialogControl& item : controls) {
      if (item.window == child) return &item;
    }
    return nullptr;
  }

  // Tab order: the form's children in order.
  void MoveFocus(HWND from, bool backwards) {
    const int count = static_cast<int>(controls.size());
    int at = 0;
    for (int i = 0; i < count; ++i) {
      if (controls[i].window == from) at = i;
    }
    const int next = (at + (backwards ? count - 1 : 1)) % count;
    Control* control = controls[next].control;
    Input([&] { form->SetFocus(*control); });
  }
};

LRESULT CALLBACK ControlProcedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                  UINT_PTR /*id*/, DWORD_PTR data) {
  auto* state = reinterpret_cast<DialogState*>(data);
  DialogControl* item = state->Find(window);
  if (item == nullptr) return DefSubclassProc(window, message, w_param, l_param);
  Control* control = item->control;
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DefSubclassProc(window, message, w_param, l_param);
    case WM_SETFOCUS:
      state->focused = control;
      state->form->SetFocus(*control);
      break;
    case WM_KEYDOWN: {
      const auto key = static_cast<KeyCode>(w_param);
      if (key == kKeyTab) {
        state->MoveFocus(window, GetKeyState(VK_SHIFT) < 0);
        return 0;
      }
      if (key == kKeyEscape) {
        state->Input([&] { state->form->Close(); });
        return 0;
      }
      if (auto* edit = dynamic_cast<Edit*>(control)) {
        state->Input([&] { edit->PressKey(key); });
        return 0;
      }
      if (auto* combo = dynamic_cast<ComboBox*>(control)) {
        state->Input([&] { combo->PressKey(key); });
        if (key == kKeyReturn) return 0;
        break;
      }
      if (auto* button = dynamic_cast<Button*>(control); button != nullptr && key == kKeyReturn) {
        state->Input([&] { button->Click(); });
        return 0;
      }
      break;
    }
    case WM_CHAR:
      if (auto* edit = dynamic_cast<Edit*>(control)) {
        const auto character = static_cast<wchar_t>(w_param);
        state->Input([&] {
          if (character < 0x80) {
            edit->TypeChar(static_cast<char>(character));
          } else {
            edit->TypeText(FromWide(std::wstring(1, character)));
          }
        });
        return 0;
      }
      // Tab, Enter and Esc are handled as keys; the beep of an unused one is not.
      if (w_param == '\t' || w_param == '\r' || w_param == 27) return 0;
      break;
    case WM_PASTE:
      if (auto* edit = dynamic_cast<Edit*>(control)) {
        std::wstring pasted;
        if (OpenClipboard(window)) {
          if (HANDLE data_handle = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data_handle))) {
              pasted = text;
              GlobalUnlock(data_handle);
            }
          }
          CloseClipboard();
        }
        state->Input([&] { edit->Paste(FromWide(pasted)); });
        return 0;
      }
      break;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
      if (dynamic_cast<Edit*>(control) != nullptr) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, ControlProcedure, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, w_param, l_param);
}

}  // namespace

LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(
                          reinterpret_cast<CREATESTRUCTW*>(l_param)->lpCreateParams));
  }
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr) return DefWindowProcW(window, message, w_param, l_param);
  switch (message) {
    case WM_CLOSE:
      state->Input([&] { state->form->Close(); });
      return 0;
    case WM_COMMAND: {
      DialogControl* item = state->Find(reinterpret_cast<HWND>(l_param));
      if (item == nullptr) break;
      if (auto* button = dynamic_cast<Button*>(item->control);
          button != nullptr && HIWORD(w_param) == BN_CLICKED) {
        state->Input([&] { button->Click(); });
      } else if (auto* combo = dynamic_cast<ComboBox*>(item->control);
                 combo != nullptr && HIWORD(w_param) == CBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageW(item->window, CB_GETCURSEL, 0, 0));
        state->Input([&] { combo->SetItemIndex(index); });
      }
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, w_param, l_param);
}

void ShowDialogModally(HINSTANCE instance, HWND owner, MessageBoxes& boxes, Form& dialog) {
  DialogState state;
  state.form = &dialog;
  state.boxes = &boxes;
  state.font = MakeFont({.name = "宋体", .height = -12, .charset = GB2312_CHARSET});
  HWND root = GetAncestor(owner, GA_ROOT);
  const Rect& bounds = dialog.bounds();
  const std::wstring caption = ToWide(dialog.caption());
  HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, kDialogClassName, caption.c_str(),
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                bounds.left, bounds.top, bounds.width, bounds.height, root,
                                nullptr, instance, &state);
  if (window == nullptr) throw std::runtime_error("无法创建对话框窗口");
  state.window = window;
  const WindowHandle form_handle = dialog.handle();
  dialog.set_handle(reinterpret_cast<WindowHandle>(window));
  for (Control* child : dialog.children()) {
    const Rect& place = child->bounds();
    HWND made = nullptr;
    if (dynamic_cast<Edit*>(child) != nullptr) {
      made = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", nullptr,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, place.left,
                             place.top, place.width, place.height, window, nullptr, instance,
                             nullptr);
    } else if (auto* combo = dynamic_cast<ComboBox*>(child)) {
      made = CreateWindowExW(0, WC_COMBOBOXW, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                             place.left, place.top, place.width, place.height + 120, window,
                             nullptr, instance, nullptr);
      for (const std::string& item : combo->items()) {
        SendMessageW(made, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
      }
    } else if (auto* button = dynamic_cast<Button*>(child)) {
      made = CreateWindowExW(0, L"BUTTON", ToWide(button->caption()).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, place.left,
                             place.top, place.width, place.height, window, nullptr, instance,
                             nullptr);
    }
    if (made == nullptr) continue;
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(state.font.get()), FALSE);
    SetWindowSubclass(made, ControlProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(&state));
    child->set_handle(reinterpret_cast<WindowHandle>(made));
    state.controls.push_back({child, made});
  }
  // Modal: the editor and the host take no input until the dialog closes.
  RunModalLoop(
      root, window, [&dialog] { return dialog.closed(); }, [&state] { state.Render(); }, [] {});
  dialog.set_handle(form_handle);
}

}  // namespace tarnvex
