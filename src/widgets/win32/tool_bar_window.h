#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "widgets/tool_bar.h"
#include "widgets/win32/gdi.h"
#include "widgets/win32/owned_window.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/painted_window.h"

namespace tarnvex {

// The Win32 peer of a ToolBar, drawn by us: flat buttons with the picture
// above the caption, white captions on a dark green band with a line along its
// lower edge, the button under the mouse raised and the pressed one sunk. A
// click (press and release on the same enabled button) is the button's Click.
// Like a system tool bar it tells its items, by index, to whoever asks (tools
// that drive or read the screen): TB_BUTTONCOUNT, TB_GETITEMRECT and
// TB_GETBUTTONTEXTW (a separator's text is empty).
class ToolBarWindow : public PaintedWindow {
 public:
  static constexpr wchar_t kClassName[] = L"TarnvexToolBar";
  static constexpr int kSeparatorWidth = 8;

  // images: kept by the caller for the bar's life. Throws std::system_error
  // when the window cannot be made.
  ToolBarWindow(const PeerSite& site, ToolBar& bar, HIMAGELIST images);

  void Sync();

  // The rectangle of an item of the bar (a button or a separator), by index.
  RECT ItemRect(size_t index) const;

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  void OnButtonDown(POINT point);
  void OnButtonUp(POINT point);
  void OnCaptureChanged();
  LRESULT OnGetButtonText(WPARAM index, wchar_t* text) const;
  // The index of the button under a point, or -1.
  int ButtonAt(POINT point) const;
  void Paint(HDC dc, const RECT& dirty) override;
  void SetHot(int index);

  // What the bar showed of each item when last rendered (a separator is a
  // Drawn without a button).
  struct Drawn {
    const ToolButton* button = nullptr;
    bool visible = false;
    int image = 0;
    std::string caption;
    std::string hint;
    bool operator==(const Drawn&) const = default;
  };

  PeerSite site_;
  ToolBar& bar_;
  std::vector<Drawn> drawn_;
  HIMAGELIST images_;
  OwnedWindow tips_;
  GdiObject<HFONT> font_;
  BackBuffer back_buffer_;
  int hot_ = -1;
  int pressed_ = -1;
};

}  // namespace tarnvex
