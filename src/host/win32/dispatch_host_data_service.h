#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "host/host_data_service.h"
#include "host/win32/com_ptr.h"

namespace tarnvex {

// The host's automation object as our HostDataService: each operation is one
// IDispatch::Invoke by dispatch id with positional arguments, passed by value
// or by reference exactly as the host expects them.
class DispatchHostDataService : public HostDataService {
 public:
  // Holds its own reference on host for as long as it lives. A null host is
  // kept as given: every operation then fails with HostCallError instead of
  // crashing.
  explicit DispatchHostDataService(ComPtr<IDispatch> host) : host_(std::move(host)) {}

  Variant GetDatabaseKind() override;
  bool ExecuteQuery(const Variant& sql, Variant& result) override;
  bool ExecuteStatement(Variant& statements) override;
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override;

 private:
  IDispatch& host() const;

  ComPtr<IDispatch> host_;
};

}  // namespace tarnvex
