#pragma once

#include <windows.h>

#include "widgets/splitter.h"
#include "widgets/win32/peer_site.h"

namespace tarnvex {

// The Win32 peer of a Splitter: a thin bar that the operator drags; every
// move of the mouse while dragging is one DragBy of the pixels moved. The
// zone that takes the mouse is a few pixels wider than a 1-pixel bar.
class SplitterWindow {
 public:
  static constexpr wchar_t kClassName[] = L"TarnvexSplitter";

  // Throws std::system_error when the window cannot be made.
  SplitterWindow(const PeerSite& site, Splitter& splitter);
  ~SplitterWindow();
  SplitterWindow(const SplitterWindow&) = delete;
  SplitterWindow& operator=(const SplitterWindow&) = delete;

  HWND window() const { return window_; }
  void Sync();

 private:
  template <typename Peer>
  friend LRESULT CALLBACK PeerProcedure(HWND, UINT, WPARAM, LPARAM);
  void Bind(HWND window) { window_ = window; }
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param);
  bool Vertical() const;

  PeerSite site_;
  Splitter& splitter_;
  HWND window_ = nullptr;
  POINT last_{};
  bool dragging_ = false;
};

}  // namespace tarnvex
