#pragma once

#include <windows.h>
#include <unknwn.h>

#include <functional>
#include <string>
#include <vector>

#include "host/host_data_service.h"

namespace tarnvex::testing {

// A window of the test host. It records the close notifications it receives
// (WM_USER+4) and the child windows destroyed under it (WM_PARENTNOTIFY), in
// one list of events, so that tests can check their order.
class TestWindow {
 public:
  // A visible top-level window when parent is null, else a visible child.
  TestWindow(HWND parent, int width, int height);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND handle() const { return window_; }
  void Destroy();

  // Runs inside the handling of each close notification, before it returns.
  std::function<void()> on_host_closed;

  int close_notifications() const { return close_notifications_; }
  // "closed" for each notification, "child destroyed" for each child window
  // destroyed, in the order they came.
  const std::vector<std::string>& events() const { return events_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

  HWND window_ = nullptr;
  int close_notifications_ = 0;
  std::vector<std::string> events_;
};

// The windows that the plug-in embedded in parent: its direct children with the
// editor's window text.
std::vector<HWND> EditorsIn(HWND parent);
// PanelMain's window in an editor window.
HWND PanelMainOf(HWND editor);

// An editor's two grids: the item grid lies above the vehicle-type grid.
// Both null unless the editor has two grids.
struct EditorGrids {
  HWND items = nullptr;
  HWND types = nullptr;
};
EditorGrids GridsOf(HWND editor);
// The grids' row 0 is their header; rows are 19 pixels high with a 1-pixel line.
constexpr int kRowPitch = 20;

SIZE ClientSize(HWND window);
SIZE WindowSize(HWND window);
std::wstring WindowText(HWND window);

// The reference count of a COM object, as AddRef and Release report it.
ULONG ReferenceCount(IUnknown* object);

// A data service with fixed answers that records the arguments it was given.
class RecordingService : public HostDataService {
 public:
  Variant GetDatabaseKind() override { return Variant(u"SQLSERVER"); }
  bool ExecuteQuery(const Variant& sql, Variant& result) override;
  bool ExecuteStatement(Variant& statements) override;
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override;

  std::vector<Variant> arguments;
};

}  // namespace tarnvex::testing
