#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnvex {

// The plug-in DLL, loaded as the host loads it and freed with this object.
class PluginLibrary {
 public:
  // The entry point's exact type: five 32-bit arguments on i686, stdcall.
  using EntryPoint = void(__stdcall*)(int32_t, HWND, const uint8_t*, HWND, IDispatch*);

  // Throws std::system_error when the library cannot be loaded or does not
  // export GetfrmSubsidySet.
  explicit PluginLibrary(const std::wstring& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Calls GetfrmSubsidySet as the host does: argument 1 zero, the operator code
  // (code page 936, at most 255 bytes; throws std::invalid_argument beyond)
  // with its length byte in front.
  void Open(HWND notify_control, std::string_view operator_code, HWND parent,
            IDispatch* host_data_service) const;

 private:
  HMODULE module_;
  EntryPoint entry_point_ = nullptr;
};

}  // namespace tarnvex
