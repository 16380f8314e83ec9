#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/data_packet.h"
#include "host/host_data_service.h"

namespace tarnvex::testing {

// A host data service that answers from a script, for the failure paths a real
// database does not produce: a query that fails, a call that throws.
class ScriptedHost : public HostDataService {
 public:
  struct Answer {
    enum class Kind { kPacket, kErrorLines, kThrow } kind = Kind::kPacket;
    DataPacket packet;
    std::vector<std::string> lines;  // code page 936; the error lines, or what() when thrown
  };
  static Answer Rows(DataPacket packet) { return {Answer::Kind::kPacket, std::move(packet), {}}; }
  static Answer Fails(std::vector<std::string> lines) {
    return {Answer::Kind::kErrorLines, DataPacket(), std::move(lines)};
  }
  static Answer Throws(std::string what) {
    return {Answer::Kind::kThrow, DataPacket(), {std::move(what)}};
  }

  // Answers queries whose text (code page 936) is exactly sql. A query without
  // an answer fails with the line "unexpected query".
  void Script(std::string sql, Answer answer) {
    answers_.insert_or_assign(std::move(sql), std::move(answer));
  }

  Variant kind = Variant(u"SQLSERVER");
  bool throw_on_kind = false;
  bool right = true;
  std::vector<std::string> queries;  // every query text, in order
  std::vector<std::pair<std::u16string, std::u16string>> right_checks;

  Variant GetDatabaseKind() override;
  bool ExecuteQuery(const Variant& sql, Variant& result) override;
  bool ExecuteStatement(Variant& statements) override;
  bool CheckRight(const std::u16string& operator_code,
                  const std::u16string& function_code) override;

 private:
  std::map<std::string, Answer> answers_;
};

// Packets shaped as the host's tables give them (texts code page 936).
// Items: code, name, category, then the ten flags; flags not given are "0".
DataPacket ItemsPacket(const std::vector<std::vector<std::string>>& rows);
// Parameter rows (item code, vehicle-type code, name) with every number 0.
DataPacket ParametersPacket(const std::vector<std::vector<std::string>>& rows);
// One text column.
DataPacket TextColumnPacket(const std::string& column, const std::vector<std::string>& values);

// A script for a small catalogue: the load queries, the tree queries and the
// item query, answered from the given items, parameter rows and vehicle types.
void ScriptCatalogue(ScriptedHost& host, const std::vector<std::vector<std::string>>& items,
                     const std::vector<std::vector<std::string>>& parameters,
                     const std::vector<std::string>& vehicle_types);

}  // namespace tarnvex::testing
