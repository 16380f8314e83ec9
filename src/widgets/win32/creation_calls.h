#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tarnvex {

// The Win32 calls that make our windows, image lists and hooks, in one table
// that points at the system's functions. Every window of the library is made
// through it, so that a build made for testing can put calls of its own in
// their place, fail any one of them and see the failure reported, nothing made
// before it left behind, and the host carry on (SQLite proves its error paths
// the same way, through its table of system calls).
struct CreationCalls {
  decltype(&CreateWindowExW) create_window;
  decltype(&ImageList_Create) create_image_list;
  decltype(&SetWindowsHookExW) set_hook;
};

// The table in use.
const CreationCalls& Creation();

// Puts calls in the place of the table in use and returns that table, for the
// new calls to pass on to.
CreationCalls SetCreation(const CreationCalls& calls);

}  // namespace tarnvex
