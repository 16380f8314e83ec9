#include "standin/scenario_backend.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "host/host_error.h"
#include "host/statement_array.h"
#include "standin/embedded_sql.h"
#include "standin/odbc.h"
#include "text/codepage.h"

namespace tarnvex::testing {

void ConnectWithEmptyTables(const ScenarioBackend& backend, StandinConfig config,
                            std::unique_ptr<StandinDataService>& service,
                            std::u16string* connection_string) {
  std::string skip_reason;
  try {
    config.connection_string = backend.open(skip_reason);
  } catch (const std::exception& error) {
    FAIL() << error.what();
  }
  if (config.connection_string.empty()) GTEST_SKIP() << skip_reason;
  if (connection_string) *connection_string = config.connection_string;
  try {
    service = std::make_unique<StandinDataService>(std::move(config));
  } catch (const OdbcError& error) {
    FAIL() << "cannot connect: " << Readable(error.what());
  }
  Variant tables(
      VariantArray{0, {Variant(std::u16string(kDropSql)), Variant(std::u16string(kSchemaSql))}});
  if (!service->ExecuteStatement(tables))
    FAIL() << "cannot create the tables: " << Readable(HostErrorText(tables));
}

HeldDatabase::HeldDatabase(const std::u16string& connection_string, const DatabaseHold& hold)
    : connection_(environment_, connection_string), statement_(connection_) {
  for (const std::u16string& statement : hold.statements) {
    statement_.CloseCursor();
    statement_.ExecuteDirect(statement);
  }
}

HeldDatabase::~HeldDatabase() {
  try {
    statement_.CloseCursor();
    statement_.ExecuteDirect(u"rollback");
  } catch (const OdbcError& error) {
    ADD_FAILURE() << "cannot let the database go: " << Readable(error.what());
  }
}

DataPacket Query(HostDataService& service, std::string_view cp936_sql) {
  Variant result;
  if (!service.ExecuteQuery(Variant::FromText(cp936_sql), result)) {
    ADD_FAILURE() << "query failed: " << Readable(cp936_sql) << "\n"
                  << Readable(HostErrorText(result));
    return DataPacket();
  }
  return DataPacket::FromVariant(result);
}

void Execute(HostDataService& service, Variant statements) {
  if (!service.ExecuteStatement(statements)) ADD_FAILURE() << Readable(HostErrorText(statements));
}

void LoadDemo(HostDataService& service) { Execute(service, Variant(std::u16string(kDemoSql))); }

bool Snapshot::operator==(const Snapshot& other) const {
  return *items.content() == *other.items.content() &&
         *parameters.content() == *other.parameters.content() &&
         *vehicle_types.content() == *other.vehicle_types.content();
}

Snapshot TakeSnapshot(HostDataService& service) {
  return Snapshot{Query(service, "select * from tbdyjtxmda order by f_jtxmbm"),
                  Query(service, "select * from tbdyjtxmlb order by f_jtxmbm, f_cxbm"),
                  Query(service, "select * from tbdycxda order by f_cxbm")};
}

FieldValue Cell(const DataPacket& packet, size_t row, std::string_view column) {
  auto same = [](std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) ==
             std::tolower(static_cast<unsigned char>(y));
    });
  };
  for (size_t i = 0; i < packet.columns().size(); ++i) {
    if (same(packet.columns()[i].name, column)) return packet.cell(row, i);
  }
  throw std::out_of_range("no column " + std::string(column));
}

std::string Readable(std::string_view cp936) { return Utf16ToUtf8(Cp936ToUtf16(cp936)); }

Variant Batch(const std::vector<std::string>& cp936_statements) {
  return StringsToVariantArray(cp936_statements);
}

}  // namespace tarnvex::testing
