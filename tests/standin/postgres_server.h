#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tarnvex::testing {

// A PostgreSQL server of the test program's own: a fresh cluster in a temporary
// folder, reachable only through a unix socket in that folder, stopped and
// removed again when the object goes. When the program runs as root the server
// runs as the postgres system user, since initdb refuses root.
class PostgresServer {
 public:
  // The folder holding initdb and pg_ctl: the newest /usr/lib/postgresql/*/bin,
  // else one on PATH; nullopt where neither has them.
  static std::optional<std::filesystem::path> FindBinaries();

  // Creates the cluster and starts the server; raises std::runtime_error with
  // the tools' output when either fails.
  explicit PostgresServer(const std::filesystem::path& binaries);
  ~PostgresServer();
  PostgresServer(const PostgresServer&) = delete;
  PostgresServer& operator=(const PostgresServer&) = delete;

  std::u16string ConnectionString() const;

 private:
  // Runs a tool of the server, as the postgres user where needed; its output
  // goes to log_name in the folder. Returns the exit status.
  int RunTool(const std::string& arguments, const std::string& log_name) const;
  std::string ReadLog(const std::string& log_name) const;

  std::filesystem::path binaries_;
  std::filesystem::path folder_;
  int port_ = 0;
  bool running_ = false;
};

}  // namespace tarnvex::testing
