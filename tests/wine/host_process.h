#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tarnvex::testing {

// The folder of the running test program, where the built programs lie.
std::wstring ProgramFolder();

// The editor's settings file (column layouts), in the host program's folder
// (this program's).
std::wstring SettingsFile();

// The drafts of unsaved work of an operator's editors beside the settings
// file: whole paths.
std::vector<std::wstring> DraftFilesOf(const std::wstring& operator_code);
// Removes them all, as if none had ever been left.
void DeleteDraftsOf(const std::wstring& operator_code);

// A program started with CreateProcessW and its handles, closed at the end; a
// program still running then is ended, as a crash ends it, and waited for.
class HostProcess {
 public:
  explicit HostProcess(std::wstring command_line);
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  bool Ended() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION info_{};
};

// The stand-in host's main window in a process, once the process has made it.
HWND MainWindowOf(DWORD process);

// A message box that a process shows, as a person sees it: its text, and its
// buttons to press. Boxes of another process are out of reach of a
// MessageBoxWatcher, which hooks this thread only.
struct ProcessBox {
  HWND window = nullptr;
  std::wstring text;
};
// The visible message box of the process, if it shows one.
std::optional<ProcessBox> MessageBoxOf(DWORD process);
// Presses the box's button with this id (IDOK, IDYES, ...), as a click does.
void PressBoxButton(const ProcessBox& box, int button_id);

// The text of a window of another process as its window procedure gives it
// (WM_GETTEXT): GetWindowTextW of such a window reads only the title that
// the system keeps, which an EDIT's text never is. Empty when the window does
// not answer within five seconds.
std::wstring TextOfWindowIn(HWND window);

}  // namespace tarnvex::testing
