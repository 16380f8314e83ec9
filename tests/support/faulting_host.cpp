#include "support/faulting_host.h"

#include <utility>

namespace tarnvex::testing {

std::string FaultingHost::FaultText() const {
  if (fail_at_ <= 0 || !fault_fired()) return "";
  return std::string(kMarker) + " in " + calls_[static_cast<size_t>(fail_at_) - 1] + " (call " +
         std::to_string(fail_at_) + ")";
}

bool FaultingHost::Count(const char* operation) {
  calls_.emplace_back(operation);
  return static_cast<int>(calls_.size()) == fail_at_;
}

bool FaultingHost::Fail(Variant& argument) const {
  if (fault_ == Fault::kThrows) throw HostCallError(FaultText());
  argument = Variant(VariantArray{0, {Variant::FromText(FaultText()), Variant(u"第二行")}});
  return false;
}

// The kind has no answer that means failure: it can only fail by throwing.
Variant FaultingHost::GetDatabaseKind() {
  if (Count("GetDatabaseKind")) throw HostCallError(FaultText());
  return inner_->GetDatabaseKind();
}

bool FaultingHost::ExecuteQuery(const Variant& sql, Variant& result) {
  if (Count("ExecuteQuery")) return Fail(result);
  return inner_->ExecuteQuery(sql, result);
}

bool FaultingHost::ExecuteStatement(Variant& statements) {
  if (Count("ExecuteStatement")) return Fail(statements);
  return inner_->ExecuteStatement(statements);
}

// Answering false is the host refusing the right.
bool FaultingHost::CheckRight(const std::u16string& operator_code,
                              const std::u16string& function_code) {
  if (Count("CheckRight")) {
    if (fault_ == Fault::kThrows) throw HostCallError(FaultText());
    return false;
  }
  return inner_->CheckRight(operator_code, function_code);
}

}  // namespace tarnvex::testing
