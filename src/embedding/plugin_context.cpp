#include "embedding/plugin_context.h"

#include <utility>

namespace tarnvex {

std::string OperatorCodeFromLengthPrefixed(const uint8_t* length_prefixed) {
  if (length_prefixed == nullptr) return {};
  size_t length = length_prefixed[0];
  return std::string(reinterpret_cast<const char*>(length_prefixed + 1), length);
}

void PluginContext::Store(WindowHandle host_notify_control,
                          std::shared_ptr<HostDataService> host_data_service,
                          std::string operator_code) {
  host_notify_control_ = host_notify_control;
  host_data_service_ = std::move(host_data_service);
  operator_code_ = std::move(operator_code);
}

void PluginContext::Clear() {
  host_notify_control_ = 0;
  host_data_service_.reset();
  operator_code_.clear();
}

}  // namespace tarnvex
