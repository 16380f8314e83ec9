#pragma once

#include <windows.h>
#include <commctrl.h>

#include "widgets/tool_bar.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/peer_site.h"

namespace tarnvex {

// The Win32 peer of a ToolBar, drawn by us: flat buttons with the picture
// above the caption, white captions on a dark green band with a line along its
// lower edge, the button under the mouse raised and the pressed one sunk. A
// click (press and release on the same enabled button) is the button's Click.
class ToolBarWindow {
 public:
  static constexpr wchar_t kClassName[] = L"TarnvexToolBar";
  static constexpr int kSeparatorWidth = 8;

  // images: kept by the caller for the bar's life. Throws std::system_error
  // when the window cannot be made.
  ToolBarWindow(const PeerSite& site, ToolBar& bar, HIMAGELIST images);
  ~ToolBarWindow();
  ToolBarWindow(const ToolBarWindow&) = delete;
  ToolBarWindow& operator=(const ToolBarWindow&) = delete;

  HWND window() const { return window_; }
  void Sync();

  // The rectangle of an item of the bar (a button or a separator), by index.
  RECT ItemRect(size_t index) const;

 private:
  template <typename Peer>
  friend LRESULT CALLBACK PeerProcedure(HWND, UINT, WPARAM, LPARAM);
  void Bind(HWND window) { window_ = window; }
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param);
  // The index of the button under a point, or -1.
  int ButtonAt(POINT point) const;
  void Paint(HDC dc);
  void SetHot(int index);

  PeerSite site_;
  ToolBar& bar_;
  HIMAGELIST images_;
  HWND window_ = nullptr;
  HWND tips_ = nullptr;
  GdiObject<HFONT> font_;
  int hot_ = -1;
  int pressed_ = -1;
};

}  // namespace tarnvex
