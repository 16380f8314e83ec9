#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>

namespace tarnvex {

// The Win32 calls that make our windows, image lists and hooks, in one table
// that points at the system's functions. Every window of the library is made
// through it, so that a test can fail any one of these calls and see the
// failure reported, nothing made before it left behind, and the host carry
// on (SQLite proves its error paths the same way, through its os layer).
struct CreationCalls {
  decltype(&CreateWindowExW) create_window;
  decltype(&ImageList_Create) create_image_list;
  decltype(&SetWindowsHookExW) set_hook;
};

// The table in use.
const CreationCalls& Creation();

enum class CreationKind { kWindow, kImageList, kHook };

// While it lives, the n-th call (from 1) of one kind fails as the system fails
// it when out of memory: a null handle and ERROR_NOT_ENOUGH_MEMORY. The other
// calls reach the system. One at a time.
class CreationFault {
 public:
  CreationFault(CreationKind kind, int n);
  ~CreationFault();
  CreationFault(const CreationFault&) = delete;
  CreationFault& operator=(const CreationFault&) = delete;

  // The fault that the environment variable TARNVEX_FAIL_CREATION asks for:
  // "window N", "image-list N" or "hook N", counted from the start of what
  // arms it (opening the editor, showing a dialog or
  // the shortcut guide). Only the Wine tests set
  // it; a value that names no fault asks for none.
  static void FromEnvironment(std::optional<CreationFault>& fault);
};

}  // namespace tarnvex
