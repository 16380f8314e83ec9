// tarnvex-host.exe as a user starts it: on a SQLite file made with the
// stand-in's schema and demo data it opens the embedded editor, passes its
// panel's size on, and ends when the editor closes.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "host/variant.h"
#include "embedding/host_messages.h"
#include "standin/embedded_sql.h"
#include "standin/host_app/host_window.h"
#include "standin/standin_service.h"
#include "wine/message_pump.h"
#include "wine/scratch_folder.h"
#include "wine/test_host.h"

namespace tarnvex::testing {
namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

struct FoundWindow {
  DWORD process;
  HWND window;
};

BOOL CALLBACK TakeHostWindow(HWND window, LPARAM context) {
  auto* wanted = reinterpret_cast<FoundWindow*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  if (owner == wanted->process && std::wstring_view(class_name) == HostWindow::kMainClassName) {
    wanted->window = window;
    return FALSE;
  }
  return TRUE;
}

// The host's main window, once the process has made it.
HWND MainWindowOf(DWORD process) {
  FoundWindow found{process, nullptr};
  EnumWindows(TakeHostWindow, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

// The program and the handles CreateProcessW gave us, closed at the end; a
// program still running then is ended.
class HostProcess {
 public:
  explicit HostProcess(std::wstring command_line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
      info_ = PROCESS_INFORMATION{};
    }
  }
  ~HostProcess() {
    if (info_.hProcess == nullptr) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  bool Ended() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

TEST(HostProgram, OpensTheEmbeddedEditorOnASqliteFileAndEndsWhenItCloses) {
  std::u16string database = ScratchFolder() + u"host.db";
  DeleteFileW(Wide(database).c_str());
  {
    StandinConfig config;
    config.connection_string = u"Driver=SQLite3;Database=" + database + u";";
    StandinDataService service(std::move(config));
    Variant texts(
        VariantArray{0, {Variant(std::u16string(kSchemaSql)), Variant(std::u16string(kDemoSql))}});
    ASSERT_TRUE(service.ExecuteStatement(texts));
  }

  HostProcess host(L"\"" + ProgramFolder() + L"tarnvex-host.exe\" --operator 0001 --sqlite \"" +
                   Wide(database) + L"\"");
  ASSERT_TRUE(host.started());
  HWND main = nullptr;
  HWND panel = nullptr;
  HWND editor = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        main = MainWindowOf(host.id());
        panel = main ? FindWindowExW(main, nullptr, HostWindow::kPanelClassName, nullptr) : nullptr;
        std::vector<HWND> editors = panel ? EditorsIn(panel) : std::vector<HWND>{};
        editor = editors.size() == 1 ? editors.front() : nullptr;
        return editor != nullptr && IsWindowVisible(editor);
      },
      30000))
      << "the host's window with the embedded editor did not appear";

  EXPECT_TRUE(GetWindowLongPtrW(editor, GWL_STYLE) & WS_CHILD);
  SIZE panel_size = ClientSize(panel);
  SIZE panel_main = WindowSize(PanelMainOf(editor));
  EXPECT_EQ(panel_main.cx, panel_size.cx);
  EXPECT_EQ(panel_main.cy, panel_size.cy);

  // Resizing the host's window resizes its panel, which passes the size on.
  SetWindowPos(main, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(PumpUntil([&] {
    SIZE now = ClientSize(panel);
    SIZE follows = WindowSize(PanelMainOf(editor));
    return now.cx == follows.cx && now.cy == follows.cy && now.cx != panel_size.cx;
  })) << "PanelMain did not follow the host's panel";

  // Closing the editor notifies the host, which ends.
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return host.Ended(); }, 30000))
      << "the host did not end when the editor closed";
  EXPECT_EQ(host.ExitCode(), 0u);
}

}  // namespace
}  // namespace tarnvex::testing
