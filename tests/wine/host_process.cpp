#include "wine/host_process.h"

#include <string_view>

#include "standin/host_app/host_window.h"

namespace tarnvex::testing {

namespace {

struct Search {
  DWORD process;
  const wchar_t* class_name;
  HWND found = nullptr;
};

BOOL CALLBACK TakeWindowOfClass(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  if (owner == search->process && std::wstring_view(class_name) == search->class_name &&
      IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND TopLevelWindowOf(DWORD process, const wchar_t* class_name) {
  Search search{process, class_name};
  EnumWindows(TakeWindowOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring SettingsFile() { return ProgramFolder() + L"Tarnvexpos.ini"; }

std::vector<std::wstring> DraftFilesOf(const std::wstring& operator_code) {
  const std::wstring folder = ProgramFolder();
  const std::wstring pattern = folder + L"Tarnvexdraft-" + operator_code + L"-*.dat";
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.push_back(folder + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return files;
}

void DeleteDraftsOf(const std::wstring& operator_code) {
  for (const std::wstring& file : DraftFilesOf(operator_code)) DeleteFileW(file.c_str());
}

HostProcess::HostProcess(std::wstring command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    info_ = PROCESS_INFORMATION{};
  }
}

HostProcess::~HostProcess() {
  if (info_.hProcess == nullptr) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    // Gone before the next test starts another host on the same files.
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

DWORD HostProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND MainWindowOf(DWORD process) { return TopLevelWindowOf(process, HostWindow::kMainClassName); }

std::optional<ProcessBox> MessageBoxOf(DWORD process) {
  HWND box = TopLevelWindowOf(process, L"#32770");
  if (box == nullptr) return std::nullopt;
  wchar_t text[512] = {};
  // The text of a message box is its static control with id 0xFFFF.
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  return ProcessBox{box, text};
}

void PressBoxButton(const ProcessBox& box, int button_id) {
  HWND button = GetDlgItem(box.window, button_id);
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

std::wstring TextOfWindowIn(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(copied);
  return text;
}

}  // namespace tarnvex::testing
