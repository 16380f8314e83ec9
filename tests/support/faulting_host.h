#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host_data_service.h"

namespace tarnvex::testing {

// A host data service that hands every call to a real one and makes one call,
// the n-th counted over all four operations, fail instead of reaching it:
// either the operation answers false (with error lines, as the host reports a
// failed query or batch) or the call itself throws HostCallError (as the
// automation adapter does when Invoke fails). A failed call never reaches the
// real service, so it changes nothing there.
class FaultingHost : public HostDataService {
 public:
  enum class Fault { kAnswersFalse, kThrows };

  // The error line and the exception text carry this, with the operation's
  // name and the call's number, so that a message box can be traced to it.
  static constexpr char kMarker[] = "injected fault";

  explicit FaultingHost(std::shared_ptr<HostDataService> inner) : inner_(std::move(inner)) {}

  // Fails call number call (counted from 1); 0 fails none.
  void FailAt(int call, Fault fault) {
    fail_at_ = call;
    fault_ = fault;
  }

  // The calls made so far, by operation name, in order.
  const std::vector<std::string>& calls() const { return calls_; }
  bool fault_fired() const { return fail_at_ > 0 && static_cast<int>(calls_.size()) >= fail_at_; }

  // What the failed call's lines or exception say.
  std::string FaultText() const;

  Variant GetDatabaseKind() override;
  bool ExecuteQuery(const Variant& sql, Variant& result) override;
  bool ExecuteStatement(Variant& statements) override;
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override;

 private:
  // Counts the call; true when this is the call to fail.
  bool Count(const char* operation);
  // Answers a failing query or batch: the error lines in the by-reference
  // argument and false; or throws.
  bool Fail(Variant& argument) const;

  std::shared_ptr<HostDataService> inner_;
  std::vector<std::string> calls_;
  int fail_at_ = 0;
  Fault fault_ = Fault::kAnswersFalse;
};

}  // namespace tarnvex::testing
