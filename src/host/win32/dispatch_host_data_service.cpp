#include "host/win32/dispatch_host_data_service.h"

#include <string>

#include "host/win32/dispatch_call.h"
#include "host/win32/variant_conversion.h"
#include "host/win32/variant_holder.h"

namespace tarnvex {

namespace {

// A by-reference argument: VT_BYREF | VT_VARIANT pointing at target, which
// the caller owns.
VARIANT ReferenceTo(VariantHolder& target) {
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = target.get();
  return reference;
}

// The boolean an operation answered; Automation's own conversion accepts what
// a host may send instead of VT_BOOL (a number, "True").
bool AnsweredTrue(const VariantHolder& result, DISPID id) {
  if (result.value().vt == VT_BOOL) return result.value().boolVal != VARIANT_FALSE;
  VariantHolder converted;
  if (FAILED(
          VariantChangeType(converted.get(), const_cast<VARIANT*>(&result.value()), 0, VT_BOOL))) {
    throw HostCallError("宿主调用的结果不是布尔值（调度号 " + std::to_string(id) + "）");
  }
  return converted.value().boolVal != VARIANT_FALSE;
}

}  // namespace

IDispatch& DispatchHostDataService::host() const {
  if (!host_) throw HostCallError("宿主没有提供数据服务对象");
  return *host_.get();
}

Variant DispatchHostDataService::GetDatabaseKind() {
  VariantHolder result = InvokeMethod(host(), kDispIdGetDatabaseKind, {});
  return FromVariant(result.value());
}

bool DispatchHostDataService::ExecuteQuery(const Variant& sql, Variant& result) {
  VariantHolder sql_argument = ToVariant(sql);
  VariantHolder written = ToVariant(result);
  const VARIANT arguments[] = {sql_argument.value(), ReferenceTo(written)};
  bool succeeded =
      AnsweredTrue(InvokeMethod(host(), kDispIdExecuteQuery, arguments), kDispIdExecuteQuery);
  result = FromVariant(written.value());
  return succeeded;
}

bool DispatchHostDataService::ExecuteStatement(Variant& statements) {
  VariantHolder passed = ToVariant(statements);
  const VARIANT arguments[] = {ReferenceTo(passed)};
  bool succeeded = AnsweredTrue(InvokeMethod(host(), kDispIdExecuteStatement, arguments),
                                kDispIdExecuteStatement);
  statements = FromVariant(passed.value());
  return succeeded;
}

bool DispatchHostDataService::CheckRight(const std::u16string& operator_code,
                                         const std::u16string& function_code) {
  VariantHolder operator_argument = ToVariant(Variant(operator_code));
  VariantHolder function_argument = ToVariant(Variant(function_code));
  const VARIANT arguments[] = {operator_argument.value(), function_argument.value()};
  return AnsweredTrue(InvokeMethod(host(), kDispIdCheckRight, arguments), kDispIdCheckRight);
}

}  // namespace tarnvex
