#include "wine/add_dialog_timers.h"

#include "wine/operator_input.h"

namespace tarnvex::testing {

void CALLBACK FillInTheAddDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TypeText(L"13");
  PressKey(VK_RETURN);  // on to the name
  TypeText(L"节日加班补助");
  PressKey(VK_TAB);  // on to 确定
  PressKey(VK_RETURN);
}

void CALLBACK CancelTheAddDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TypeText(L"14");
  PressKey(VK_ESCAPE);
}

}  // namespace tarnvex::testing
