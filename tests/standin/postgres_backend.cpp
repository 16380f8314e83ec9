#include <memory>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "standin/postgres_server.h"
#include "standin/scenario_backend.h"

namespace tarnvex::testing {
namespace {

// One server for the whole program, started before the first test and stopped
// after the last, failed tests included.
class PostgresEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::optional<std::filesystem::path> binaries = PostgresServer::FindBinaries();
    if (!binaries) {
      skip_reason_ =
          "PostgreSQL server binaries (initdb, pg_ctl) not found in /usr/lib/postgresql/*/bin or "
          "on PATH";
      return;
    }
    try {
      server_ = std::make_unique<PostgresServer>(*binaries);
    } catch (const std::exception& error) {
      start_error_ = error.what();
    }
  }
  void TearDown() override { server_.reset(); }

  std::u16string Open(std::string& skip_reason) const {
    if (!skip_reason_.empty()) {
      skip_reason = skip_reason_;
      return u"";
    }
    if (!server_)
      throw std::runtime_error("the PostgreSQL test server could not be started: " + start_error_);
    return server_->ConnectionString();
  }

 private:
  std::unique_ptr<PostgresServer> server_;
  std::string skip_reason_;
  std::string start_error_;
};

PostgresEnvironment* const environment =
    static_cast<PostgresEnvironment*>(::testing::AddGlobalTestEnvironment(new PostgresEnvironment));

}  // namespace

const ScenarioBackend& BackendUnderTest() {
  // Every test gets the same database; the tables are dropped and made again.
  static const ScenarioBackend backend{
      "Postgres",
      u"POSTGRESQL",
      [](std::string& skip_reason) { return environment->Open(skip_reason); },
      nullptr,
      {{"LockingTheTables",
        {u"begin", u"lock table tbdyjtxmda, tbdyjtxmlb, tbdycxda in access exclusive mode"},
        true}}};
  return backend;
}

}  // namespace tarnvex::testing
