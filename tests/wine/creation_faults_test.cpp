// Opening the editor through the export while one Win32 creation call of the
// library fails: for each kind (windows, image lists, hooks), the first call
// fails, then the second, and so on until opening no longer meets a call to
// fail. Each failure must be shown to the operator in one box, leave no
// window behind once the host's panel is gone, and leave the host's window
// enabled and working. The windows of the add dialog and of the shortcut
// guide are failed the same way under an open editor, which must carry on.
// The library is SubsidySet_faults.dll, the shipped objects with creation
// calls that fail the one that TARNVEX_FAIL_CREATION names ("window 3": the
// third window made since it was set); it is set just before this call of the
// export, or this showing of a popup, and cleared after it.

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "host/win32/com_ptr.h"
#include "standin/host_app/plugin_library.h"
#include "wine/demo_database.h"
#include "wine/message_box_watcher.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/test_host.h"
#include "wine/tool_bar_buttons.h"
#include "wine/window_census.h"

namespace tarnvex::testing {
namespace {

constexpr int kPanelWidth = 880;
constexpr int kPanelHeight = 600;
// Far more creation calls than one opening makes: a loop that gets here
// never met an opening without a failure.
constexpr int kMostCalls = 80;

struct Kind {
  const wchar_t* name;  // as TARNVEX_FAIL_CREATION names it
  const wchar_t* call;  // the call the box names
};
constexpr Kind kKinds[] = {
    {L"window", L"CreateWindowExW"},
    {L"image-list", L"ImageList_Create"},
    {L"hook", L"SetWindowsHookExW"},
};

// A modal popup of the editor and how the operator opens and closes it.
struct Popup {
  const char* name;
  const wchar_t* class_name;
  void (*open)(HWND editor);
  UINT close_message;  // posted to the popup's window
};

void ClickAddButton(HWND editor) { ClickToolButton(editor, L"增加"); }

void PressF1(HWND editor) {
  SetFocus(FindDescendant(editor, L"TarnvexColumnGrid"));
  PressKey(VK_F1);
}

const Popup kPopups[] = {
    {"the add dialog", L"TarnvexDialog", ClickAddButton, WM_CLOSE},
    {"the shortcut guide", L"TarnvexTextPopup", PressF1, WM_LBUTTONDOWN},
};

// The popup being opened, and its windows, counted while it shows, before it
// is closed.
const Popup* g_popup = nullptr;
long g_popup_windows = 0;

void CALLBACK ClosePopup(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = FindWindowW(g_popup->class_name, nullptr);
  if (popup == nullptr || !IsWindowVisible(popup)) return;
  KillTimer(nullptr, id);
  g_popup_windows = WindowAndDescendants(popup);
  PostMessageW(popup, g_popup->close_message, 0, 0);
}

void SetFault(const std::wstring& fault) {
  SetEnvironmentVariableW(L"TARNVEX_FAIL_CREATION", fault.empty() ? nullptr : fault.c_str());
}

// What one opening left: the boxes it showed and the windows it added.
struct Opening {
  std::vector<MessageBoxWatcher::Box> boxes;
  long windows_made = 0;
  long windows_left = 0;
};

class CreationFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::u16string database = MakeDemoDatabase(u"creation_faults.db");
    ASSERT_FALSE(database.empty()) << "the demo database could not be made";
    host_ = StandinHostOn(database);
    SetForegroundWindow(top_.handle());
  }

  // Opens the editor in a panel of its own with fault (empty: none) asked
  // for, then destroys the panel as the host does when it closes the screen.
  Opening Open(const std::wstring& fault) {
    Opening opening;
    const long before = WindowCensus();
    MessageBoxWatcher watcher;
    {
      TestWindow panel(top_.handle(), kPanelWidth, kPanelHeight);
      SetFault(fault);
      plugin_->Open(notify_.handle(), "0001", panel.handle(), host_.get());
      SetFault(L"");
      PumpPending();
      opening.windows_made = WindowCensus() - before;
      panel.Destroy();
      PumpPending();
    }
    opening.boxes = watcher.boxes();
    opening.windows_left = WindowCensus() - before;
    return opening;
  }

  // The host's window still takes input and answers.
  void ExpectHostWorks(const std::wstring& what) {
    EXPECT_TRUE(IsWindowEnabled(top_.handle())) << what;
    SetWindowTextW(top_.handle(), what.c_str());
    EXPECT_EQ(WindowText(top_.handle()), what);
    PostMessageW(top_.handle(), WM_KEYDOWN, VK_F1, 0);
    PostMessageW(top_.handle(), WM_KEYUP, VK_F1, 0);
    PumpPending();
  }

  std::optional<PluginLibrary> plugin_{std::in_place, L"SubsidySet_faults.dll"};
  TestWindow top_{nullptr, 900, 640};
  TestWindow notify_{top_.handle(), 10, 10};
  ComPtr<IDispatch> host_;
};

TEST_F(CreationFaults, EachFailedCallIsShownLeavesNoWindowAndTheHostCarriesOn) {
  const Opening whole = Open(L"");
  ASSERT_TRUE(whole.boxes.empty()) << "an opening without a fault showed a box";
  ASSERT_GT(whole.windows_made, 0);
  EXPECT_EQ(whole.windows_left, 0);

  for (const Kind& kind : kKinds) {
    int failures = 0;
    for (int n = 1;; ++n) {
      ASSERT_LT(n, kMostCalls) << "opening never got past the failures of " << kind.name;
      const std::wstring fault = std::wstring(kind.name) + L" " + std::to_wstring(n);
      const Opening opening = Open(fault);
      SCOPED_TRACE(std::string(fault.begin(), fault.end()));
      EXPECT_EQ(opening.windows_left, 0) << "windows left behind";
      ExpectHostWorks(fault);
      if (opening.boxes.empty()) {
        // No call left to fail: the editor opened whole, every window made.
        EXPECT_EQ(opening.windows_made, whole.windows_made);
        break;
      }
      ++failures;
      ASSERT_EQ(opening.boxes.size(), 1u) << "one failure, one box";
      EXPECT_EQ(opening.boxes[0].caption, L"错误");
      EXPECT_NE(opening.boxes[0].text.find(kind.call), std::wstring::npos)
          << "the box does not name the call that failed";
    }
    std::printf("[ faults   ] %ls: %d calls failed one by one\n", kind.name, failures);
    std::fflush(stdout);
    EXPECT_GT(failures, 0) << kind.name << ": opening makes none";
  }

  // A hook left behind would call into the library once it is unloaded.
  plugin_.reset();
  ExpectHostWorks(L"unloaded");
}

TEST_F(CreationFaults, EachFailedWindowOfAPopupIsShownAndTheEditorCarriesOn) {
  TestWindow panel(top_.handle(), kPanelWidth, kPanelHeight);
  plugin_->Open(notify_.handle(), "0001", panel.handle(), host_.get());
  const std::vector<HWND> editors = EditorsIn(panel.handle());
  ASSERT_EQ(editors.size(), 1u);

  for (const Popup& popup : kPopups) {
    g_popup = &popup;
    int failures = 0;
    for (int n = 1;; ++n) {
      ASSERT_LT(n, kMostCalls) << popup.name << " never got past the failures";
      const std::wstring fault = L"window " + std::to_wstring(n);
      SCOPED_TRACE(popup.name + std::string(": ") + std::string(fault.begin(), fault.end()));
      const long before = WindowCensus();
      g_popup_windows = 0;
      MessageBoxWatcher watcher;
      const UINT_PTR timer = SetTimer(nullptr, 0, 1, ClosePopup);
      SetFault(fault);
      popup.open(editors.front());
      SetFault(L"");
      KillTimer(nullptr, timer);
      PumpPending();
      EXPECT_EQ(FindWindowW(popup.class_name, nullptr), nullptr);
      EXPECT_EQ(WindowCensus(), before) << "windows left behind";
      ASSERT_TRUE(IsWindow(editors.front())) << "the editor closed";
      ExpectHostWorks(fault);
      if (watcher.boxes().empty()) {
        // No window left to fail: the popup showed whole, one window per call.
        EXPECT_EQ(g_popup_windows, failures);
        break;
      }
      ++failures;
      EXPECT_EQ(g_popup_windows, 0) << "the popup showed although a window failed";
      ASSERT_EQ(watcher.boxes().size(), 1u) << "one failure, one box";
      EXPECT_NE(watcher.boxes()[0].text.find(L"CreateWindowExW"), std::wstring::npos);
    }
    std::printf("[ faults   ] %s: %d window calls failed one by one\n", popup.name, failures);
    std::fflush(stdout);
    EXPECT_GT(failures, 0) << popup.name;
  }
}

}  // namespace
}  // namespace tarnvex::testing
