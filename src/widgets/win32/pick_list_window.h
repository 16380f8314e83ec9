#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "widgets/win32/owned_hook.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

// The list a grid drops down from a cell: a popup LISTBOX that shows the
// column's items with the grid's chosen one highlighted and reports a click
// on an item. It never takes the activation or the focus, so the keys stay
// with the grid, whose list they already work. It is owned by the top-level
// window of the window it hangs from (the anchor), so it stays above it; when
// the anchor or a window holding it moves or changes size, the list no longer
// lies under its cell and asks to be closed.
class PickListWindow : public WindowBase {
 public:
  // Made hidden; font (the grid's cell font) outlives the list. Throws
  // std::system_error when the window cannot be made.
  PickListWindow(HINSTANCE instance, HWND anchor, HFONT font);
  ~PickListWindow() override;

  // Shows items directly below cell (screen coordinates), or above it when
  // the screen has no room below, as wide as the cell or its widest item;
  // chosen is highlighted (-1: none). Unchanged items, choice and place are
  // left alone, so that showing it again after every input costs nothing.
  void Show(const std::vector<std::string>& items, int chosen, const RECT& cell, int item_height);
  void Hide();

  // An item clicked, by its index.
  std::function<void(int index)> on_pick;
  // The anchor moved from under the list.
  std::function<void()> on_cancel;

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  void Fill(const std::vector<std::string>& items, int item_height);
  RECT PlaceFor(const RECT& cell, int rows) const;
  // Watches the thread's windows for a move of the anchor while the list shows.
  static LRESULT CALLBACK WatchMoves(int code, WPARAM w_param, LPARAM l_param);

  HWND anchor_;
  HFONT font_;
  std::vector<std::string> items_;
  int item_height_ = 0;
  // The widest item's text, in pixels.
  int widest_ = 0;
  // The left button went down on the list: its release there picks.
  bool pressed_ = false;
  OwnedHook moves_;
};

}  // namespace tarnvex
