#pragma once

#include <windows.h>

#include "widgets/splitter.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

// The Win32 peer of a Splitter: a thin bar that the operator drags; every
// move of the mouse while dragging is one DragBy of the pixels moved. The
// zone that takes the mouse is a few pixels wider than a 1-pixel bar.
class SplitterWindow : public WindowBase {
 public:
  static constexpr wchar_t kClassName[] = L"TarnvexSplitter";

  // Throws std::system_error when the window cannot be made.
  SplitterWindow(const PeerSite& site, Splitter& splitter);

  void Sync();

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  void OnButtonDown();
  void OnMouseMove();
  bool Vertical() const;

  PeerSite site_;
  Splitter& splitter_;
  POINT last_{};
  bool dragging_ = false;
};

}  // namespace tarnvex
