#include "widgets/win32/win32_platform.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

#include "widgets/win32/clipboard_text.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

UINT IconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageIcon::kQuestion:
      return MB_ICONQUESTION;
    case MessageIcon::kWarning:
      return MB_ICONWARNING;
    case MessageIcon::kError:
      return MB_ICONERROR;
    case MessageIcon::kNone:
      break;
  }
  return 0;
}

UINT ButtonFlag(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOkCancel:
      return MB_OKCANCEL;
    case MessageButtons::kYesNo:
      return MB_YESNO;
    case MessageButtons::kYesNoCancel:
      return MB_YESNOCANCEL;
    case MessageButtons::kOk:
      break;
  }
  return MB_OK;
}

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct ViewUnmapper {
  void operator()(void* view) const { UnmapViewOfFile(view); }
};
using UniqueView = std::unique_ptr<void, ViewUnmapper>;

// The module that holds this code (the library, or a test program linking the
// widgets), whose instance the peers' window classes are registered with.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

HWND AsWindow(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace

Win32Platform::Win32Platform() : popups_(ThisModule(), *this) {}

FrameMetrics Win32Platform::SizeableFrame() {
  return {GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXSIZEFRAME),
          GetSystemMetrics(SM_CYSIZEFRAME)};
}

bool Win32Platform::FileExists(std::string_view path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32Platform::ShowModal(WindowHandle owner, TextPopup& popup) {
  popups_.ShowModal(AsWindow(owner), popup);
}

void Win32Platform::ShowModalForm(WindowHandle owner, Form& dialog) {
  popups_.ShowModalForm(AsWindow(owner), dialog);
}

void Win32Platform::ShowBusyWindow(WindowHandle owner, const BusyIndicator& busy) {
  popups_.ShowBusyWindow(AsWindow(owner), busy);
}

MessageAnswer Win32Platform::Show(const MessageBoxRequest& request) {
  std::wstring text = ToWide(request.text);
  std::wstring caption = ToWide(request.caption);
  // When the box closes, Windows activates the owner's top-level window but
  // leaves the keyboard focus to whoever restores it: the control that had it
  // gets it back, so the operator types on where they were.
  HWND had_focus = GetFocus();
  int pressed = MessageBoxW(AsWindow(request.owner), text.c_str(), caption.c_str(),
                            IconFlag(request.icon) | ButtonFlag(request.buttons) |
                                (request.second_button_default ? MB_DEFBUTTON2 : 0));
  if (had_focus != nullptr && IsWindow(had_focus) && IsWindowVisible(had_focus)) {
    SetFocus(had_focus);
  }
  switch (pressed) {
    case IDYES:
      return MessageAnswer::kYes;
    case IDNO:
      return MessageAnswer::kNo;
    case IDCANCEL:
      return MessageAnswer::kCancel;
    default:
      return MessageAnswer::kOk;
  }
}

void Win32Platform::SendWindowMessage(WindowHandle window, uint32_t message) {
  SendMessageW(AsWindow(window), message, 0, 0);
}

bool Win32Platform::ProcessRuns(uint32_t process_id) {
  if (process_id == GetCurrentProcessId()) return true;
  const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, process_id));
  // A process that exists but may not be opened still runs.
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

std::string Win32Platform::HostExecutableFolder() {
  // GetModuleFileNameW truncates silently and says so only by filling the
  // whole buffer; grow until the path fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.erase(path.find_last_of(L"\\/") + 1);
  return FromWide(path);
}

std::optional<std::string> Win32Platform::ReadSharedMemoryText(std::string_view name,
                                                               size_t max_bytes) {
  std::wstring wide_name = ToWide(name);
  // Read access is all this needs; asking for more could only make the probe
  // fail where the host shares the object read-only.
  UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, wide_name.c_str()));
  if (!mapping) return std::nullopt;
  UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return std::nullopt;
  // The object may be smaller than what we want to read: stay inside the view.
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQuery(view.get(), &region, sizeof region) == 0) return std::nullopt;
  const char* bytes = static_cast<const char*>(view.get());
  size_t available = std::min(max_bytes, static_cast<size_t>(region.RegionSize));
  const void* zero = std::memchr(bytes, '\0', available);
  size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : available;
  return std::string(bytes, length);
}

void Win32Platform::Beep() { MessageBeep(MB_OK); }

namespace {

// The window that asks for the clipboard: the one the operator types in.
HWND ClipboardOwner() {
  HWND focus = GetFocus();
  return focus != nullptr ? focus : GetActiveWindow();
}

}  // namespace

std::optional<std::string> Win32Platform::ClipboardText() {
  std::optional<std::wstring> text = ReadClipboardText(ClipboardOwner());
  if (!text) return std::nullopt;
  return FromWide(*text);
}

void Win32Platform::SetClipboardText(std::string_view text) {
  WriteClipboardText(ClipboardOwner(), ToWide(text));
}

}  // namespace tarnvex
