#include "standin/postgres_server.h"

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "text/codepage.h"

namespace tarnvex::testing {
namespace {

bool HasTools(const std::filesystem::path& folder) {
  return access((folder / "initdb").c_str(), X_OK) == 0 &&
         access((folder / "pg_ctl").c_str(), X_OK) == 0;
}

// Single quotes for the shell; the paths here are our own and hold none.
std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace

std::optional<std::filesystem::path> PostgresServer::FindBinaries() {
  std::vector<std::filesystem::path> versions;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
    if (HasTools(entry.path() / "bin")) versions.push_back(entry.path() / "bin");
  }
  if (!versions.empty()) {
    // Version folders are numbers: the newest has the largest one.
    return *std::max_element(versions.begin(), versions.end(), [](const auto& a, const auto& b) {
      return std::atoi(a.parent_path().filename().c_str()) <
             std::atoi(b.parent_path().filename().c_str());
    });
  }
  const char* path = std::getenv("PATH");
  std::istringstream folders(path == nullptr ? "" : path);
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (!folder.empty() && HasTools(folder)) return std::filesystem::path(folder);
  }
  return std::nullopt;
}

PostgresServer::PostgresServer(const std::filesystem::path& binaries) : binaries_(binaries) {
  // Under /tmp whatever TMPDIR says: a unix socket path must stay short.
  std::string folder_template = "/tmp/tarnvex-pg-XXXXXX";
  if (mkdtemp(folder_template.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  folder_ = folder_template;
  port_ = 50000 + static_cast<int>(getpid() % 10000);
  try {
    if (geteuid() == 0) {
      const passwd* postgres = getpwnam("postgres");
      if (postgres == nullptr) {
        throw std::runtime_error(
            "running as root, and there is no postgres user to run the server as");
      }
      if (chown(folder_.c_str(), postgres->pw_uid, postgres->pw_gid) != 0) {
        throw std::runtime_error("cannot hand " + folder_.string() + " to the postgres user");
      }
    }
    if (RunTool(
            "initdb -D " + Quote(folder_ / "data") + " -A trust -U postgres -E UTF8 --locale=C -N",
            "initdb.log") != 0) {
      throw std::runtime_error("initdb failed:\n" + ReadLog("initdb.log"));
    }
    const std::string options = "-k " + Quote(folder_) + " -p " + std::to_string(port_) +
                                " -c listen_addresses='' -c fsync=off";
    if (RunTool("pg_ctl -D " + Quote(folder_ / "data") + " -l " + Quote(folder_ / "server.log") +
                    " -w -t 60 -o \"" + options + "\" start",
                "pg_ctl.log") != 0) {
      throw std::runtime_error("the server did not start:\n" + ReadLog("pg_ctl.log") +
                               ReadLog("server.log"));
    }
    running_ = true;
  } catch (...) {
    std::filesystem::remove_all(folder_);
    throw;
  }
}

PostgresServer::~PostgresServer() {
  if (running_) RunTool("pg_ctl -D " + Quote(folder_ / "data") + " -m fast -w stop", "pg_ctl.log");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::u16string PostgresServer::ConnectionString() const {
  return u"Driver=PostgreSQL Unicode;Servername=" + Utf8ToUtf16(folder_.string()) + u";Port=" +
         Utf8ToUtf16(std::to_string(port_)) + u";Database=postgres;Username=postgres;";
}

int PostgresServer::RunTool(const std::string& arguments, const std::string& log_name) const {
  const std::string as_postgres = geteuid() == 0 ? "runuser -u postgres -- " : "";
  // From inside the folder: the postgres user may not enter the caller's one.
  const std::string command = "cd " + Quote(folder_) + " && " + as_postgres + Quote(binaries_) +
                              "/" + arguments + " > " + Quote(folder_ / log_name) + " 2>&1";
  return std::system(command.c_str());
}

std::string PostgresServer::ReadLog(const std::string& log_name) const {
  std::ifstream file(folder_ / log_name);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace tarnvex::testing
