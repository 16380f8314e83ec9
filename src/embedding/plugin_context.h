#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "host/host_data_service.h"
#include "widgets/message_box.h"

namespace tarnvex {

// The longest operator code the host can pass: its length travels in one byte.
inline constexpr size_t kMaxOperatorCodeBytes = 255;

// The operator code as the host passes it: one length byte n, then n bytes of
// code page 936. A null pointer gives an empty code.
std::string OperatorCodeFromLengthPrefixed(const uint8_t* length_prefixed);

// The values the entry point hands to every screen of the library. There is one
// set per process, shared by all open editors and replaced whole by each call
// of the entry point, so an editor reads them when it needs them rather than
// keeping a copy.
class PluginContext {
 public:
  // The window of HostNotifyControl: receives the close notification.
  WindowHandle host_notify_control() const { return host_notify_control_; }
  // HostDataService: every query, statement and permission check. Null only
  // before the first call of the entry point and after unloading.
  // A caller keeps the pointer for the length of one operation, so that a
  // further entry call during a host call cannot free the object under it.
  std::shared_ptr<HostDataService> host_data_service() const { return host_data_service_; }
  // OperatorCode: code page 936, at most kMaxOperatorCodeBytes.
  const std::string& operator_code() const { return operator_code_; }

  // Replaces all three values, in the order the entry point stores them. The
  // service that an earlier call stored is released here, unless an
  // operation still has it in use.
  void Store(WindowHandle host_notify_control, std::shared_ptr<HostDataService> host_data_service,
             std::string operator_code);

  // Unloading: releases the service and forgets the operator code.
  void Clear();

 private:
  WindowHandle host_notify_control_ = 0;
  std::shared_ptr<HostDataService> host_data_service_;
  std::string operator_code_;
};

}  // namespace tarnvex
