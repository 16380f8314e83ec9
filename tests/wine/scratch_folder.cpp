#include "wine/scratch_folder.h"

#include <windows.h>

namespace tarnvex::testing {

std::u16string ScratchFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD length = GetEnvironmentVariableW(L"TARNVEX_WINE_SCRATCH", buffer, MAX_PATH);
  std::wstring folder;
  if (length > 0 && length < MAX_PATH) {
    folder.assign(buffer, length);
    if (folder.back() != L'/') folder += L'/';
  } else {
    length = GetTempPathW(MAX_PATH, buffer);
    folder.assign(buffer, length);
  }
  return std::u16string(folder.begin(), folder.end());
}

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace tarnvex::testing
