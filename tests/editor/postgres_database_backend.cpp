// The shared-database scenarios on PostgreSQL: one throwaway server for the
// program, started with the first scenario and stopped at its end; each
// database drops the tables and makes them again.

#include <filesystem>
#include <optional>

#include "standin/postgres_server.h"
#include "support/database_backend.h"

namespace tarnvex::testing {

std::u16string SharedDatabaseConnection(std::string& skip_reason) {
  static const std::optional<std::filesystem::path> binaries = PostgresServer::FindBinaries();
  if (!binaries) {
    skip_reason = "PostgreSQL server binaries (initdb, pg_ctl) not found";
    return u"";
  }
  static const PostgresServer server(*binaries);
  return server.ConnectionString();
}

}  // namespace tarnvex::testing
