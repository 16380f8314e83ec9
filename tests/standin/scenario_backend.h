#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "host/data_packet.h"
#include "host/variant.h"
#include "standin/standin_service.h"

namespace tarnvex::testing {

// A way for another program to hold the database: the statements it runs, each
// committing itself, until it runs "rollback".
struct DatabaseHold {
  std::string name;
  std::vector<std::u16string> statements;
  // Whether the hold makes queries wait too, or only saves.
  bool stops_queries = false;
};

// A database engine the scenarios run on.
struct ScenarioBackend {
  std::string name;
  // What GetDatabaseKind answers when no kind is configured.
  std::u16string engine_kind;
  // A connection string to a database for the running test; an empty one with
  // skip_reason set where the engine is not installed here. Raises
  // std::runtime_error when it is but cannot be used.
  std::function<std::u16string(std::string& skip_reason)> open;
  // Called when the test is over and its service gone.
  std::function<void()> close;
  // The ways another program holds this engine's database against a save.
  std::vector<DatabaseHold> holds;
};

// The backend of this test program: each scenario program links its own.
const ScenarioBackend& BackendUnderTest();

// The two forms the editor writes its save statements in.
enum class Dialect { kTransactSql, kAnsi };

// Connects a service to the backend's database, on which the editor's tables
// are then empty; sets connection_string, where given, to the database's.
// Skips the test, or fails it fatally, when it cannot; meant for SetUp, after
// which gtest runs no test body in either case.
void ConnectWithEmptyTables(const ScenarioBackend& backend, StandinConfig config,
                            std::unique_ptr<StandinDataService>& service,
                            std::u16string* connection_string = nullptr);

// Another program holding the database, on a connection of its own, from
// construction until it goes.
class HeldDatabase {
 public:
  HeldDatabase(const std::u16string& connection_string, const DatabaseHold& hold);
  ~HeldDatabase();
  HeldDatabase(const HeldDatabase&) = delete;
  HeldDatabase& operator=(const HeldDatabase&) = delete;

 private:
  OdbcEnvironment environment_;
  OdbcConnection connection_;
  OdbcStatement statement_;
};

// The query's packet; an empty packet after recording a failure.
DataPacket Query(HostDataService& service, std::string_view cp936_sql);

// Runs the statements, recording a failure with the error text when they fail.
void Execute(HostDataService& service, Variant statements);

// Loads the demo data.
void LoadDemo(HostDataService& service);

// Every row of the three tables, in key order.
struct Snapshot {
  DataPacket items;
  DataPacket parameters;
  DataPacket vehicle_types;
  bool operator==(const Snapshot& other) const;
};
Snapshot TakeSnapshot(HostDataService& service);

// The cell of the named column (ASCII letters in any case).
FieldValue Cell(const DataPacket& packet, size_t row, std::string_view column);

// Code page 936 text made readable in test output.
std::string Readable(std::string_view cp936);

// The batch as the editor packs it: one wide string per code page 936 text.
Variant Batch(const std::vector<std::string>& cp936_statements);

}  // namespace tarnvex::testing
