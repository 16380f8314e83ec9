#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_data_service.h"
#include "host/variant.h"
#include "standin/odbc.h"

namespace tarnvex {

// An (operator, function) pair that CheckRight refuses.
struct RefusedRight {
  std::u16string operator_code;
  std::u16string function_code;
};

struct StandinConfig {
  // ODBC connection string, e.g. "Driver=SQLite3;Database=/tmp/demo.db;".
  std::u16string connection_string;
  // The word GetDatabaseKind answers. Empty: the word for the connected engine
  // ("SQLSERVER", "SQLITE", "POSTGRESQL", ...). "SQLSERVER" on another engine
  // makes the editor write Transact-SQL, which the compound runner then carries.
  std::string database_kind;
  // Every other pair is allowed.
  std::vector<RefusedRight> refused_rights;
  // Whether the stand-in splits texts into statements and runs the conditional
  // forms itself. Unset: yes, unless the engine is SQL Server, which gets every
  // text unchanged, a text with several statements as one batch.
  std::optional<bool> run_compound_statements;
};

// The host's data service over ODBC, taking the host's place for the demo and the
// tests. Every operation of one call runs in one transaction: it commits when the
// operation succeeds and rolls back otherwise. Error lines are returned as the
// host returns them: an array, lower bound 0, of wide strings.
//
// A database that another program holds locked is waited for at most
// kLockWaitSeconds; the operation then fails with the one line
// kLockedMessage, having changed nothing. When a failed operation cannot be
// rolled back, the connection is replaced by a new one, so that the next
// operation again runs in a transaction of its own; when even that fails, each
// later operation tries to connect again.
class StandinDataService : public HostDataService {
 public:
  static constexpr int kLockWaitSeconds = 5;
  static constexpr char16_t kLockedMessage[] = u"数据库正被其他程序占用,请稍后再试";

  // Connects; raises OdbcError when the connection cannot be made.
  explicit StandinDataService(StandinConfig config);
  ~StandinDataService() override;

  Variant GetDatabaseKind() override;
  bool ExecuteQuery(const Variant& sql, Variant& result) override;
  bool ExecuteStatement(Variant& statements) override;
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override;

 private:
  // The statements of the value, in order, as views into its texts; the
  // reason when the value is no statement batch.
  std::optional<std::u16string> CollectBatch(const Variant& statements,
                                             std::vector<std::u16string_view>& batch) const;
  // Runs one statement of a batch, by the compound runner where it applies.
  void RunStatement(std::u16string_view statement);
  // Ends the transaction of a failed operation; a failure to roll back adds its
  // lines to the others and replaces the connection.
  void RollbackInto(std::vector<std::u16string>& lines);
  // Makes the connection ready for operations: each in a transaction of its
  // own, lock waits bounded.
  void Adopt(std::unique_ptr<OdbcConnection> connection);
  // Drops the connection, if any, and connects anew; false, with the reason
  // added to lines, when it cannot.
  bool Reconnect(std::vector<std::u16string>& lines);
  // The error lines of a failed call: the lock message when another program's
  // lock stopped it, else the first line and the driver's lines.
  std::vector<std::u16string> Report(const OdbcError& error, std::u16string first_line) const;

  StandinConfig config_;
  // The configured connection string with what the engine needs added.
  std::u16string connection_string_;
  std::u16string engine_;  // what KindOfEngine makes of the engine's name
  std::u16string database_kind_;
  bool run_compound_statements_ = true;
  OdbcEnvironment environment_;
  // Both empty while the database cannot be reached; the statement is declared
  // last, so that it is freed before its connection.
  std::unique_ptr<OdbcConnection> connection_;
  std::unique_ptr<OdbcStatement> statement_;
  std::u16string condition_;  // the condition query of a compound statement
};

}  // namespace tarnvex
