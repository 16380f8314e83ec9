#include "standin/host_app/plugin_library.h"

#include <stdexcept>
#include <system_error>
#include <vector>

#include "embedding/plugin_context.h"

namespace tarnvex {

PluginLibrary::PluginLibrary(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {
  if (module_ == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "LoadLibraryW");
  }
  entry_point_ = reinterpret_cast<EntryPoint>(
      reinterpret_cast<void*>(GetProcAddress(module_, "GetfrmSubsidySet")));
  if (entry_point_ == nullptr) {
    DWORD error = GetLastError();
    FreeLibrary(module_);
    throw std::system_error(static_cast<int>(error), std::system_category(),
                            "GetProcAddress(GetfrmSubsidySet)");
  }
}

PluginLibrary::~PluginLibrary() { FreeLibrary(module_); }

void PluginLibrary::Open(HWND notify_control, std::string_view operator_code, HWND parent,
                         IDispatch* host_data_service) const {
  if (operator_code.size() > kMaxOperatorCodeBytes) {
    throw std::invalid_argument("operator code longer than 255 bytes");
  }
  std::vector<uint8_t> length_prefixed;
  length_prefixed.push_back(static_cast<uint8_t>(operator_code.size()));
  length_prefixed.insert(length_prefixed.end(), operator_code.begin(), operator_code.end());
  entry_point_(0, notify_control, length_prefixed.data(), parent, host_data_service);
}

}  // namespace tarnvex
