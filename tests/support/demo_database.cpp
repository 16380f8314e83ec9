#include "support/demo_database.h"

#include <gtest/gtest.h>

#include <variant>

#include "editor/parameter_index.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "host/host_error.h"
#include "standin/embedded_sql.h"
#include "text/codepage.h"

namespace tarnvex::testing {

namespace {

void ThrowOnFailure(bool ok, const Variant& error) {
  if (!ok) throw std::runtime_error(Utf16ToUtf8(Cp936ToUtf16(HostErrorText(error))));
}

}  // namespace

DemoDatabase::DemoDatabase(Options options) : DemoDatabase(std::move(options), std::u16string()) {}

DemoDatabase::DemoDatabase(Options options, std::u16string connection_string) {
  StandinConfig config;
  const std::filesystem::path file = folder_.path() / "demo.db";
  const bool own_file = connection_string.empty();
  config.connection_string = own_file ? u"Driver=SQLite3;Database=" + file.u16string() + u";"
                                      : std::move(connection_string);
  config.database_kind = options.database_kind;
  if (!options.refused_operator.empty()) {
    config.refused_rights.push_back({options.refused_operator, u"9026"});
  }
  service_ = std::make_shared<StandinDataService>(std::move(config));
  VariantArray texts;
  if (!own_file) texts.elements.emplace_back(std::u16string(kDropSql));
  texts.elements.emplace_back(std::u16string(kSchemaSql));
  if (options.demo) texts.elements.emplace_back(std::u16string(kDemoSql));
  Variant statements(std::move(texts));
  ThrowOnFailure(service_->ExecuteStatement(statements), statements);
}

void DemoDatabase::Execute(std::string_view cp936_sql) {
  Variant statements = Variant::FromText(cp936_sql);
  ThrowOnFailure(service_->ExecuteStatement(statements), statements);
}

DataPacket DemoDatabase::Query(std::string_view cp936_sql) {
  Variant result;
  const bool ok = service_->ExecuteQuery(Variant::FromText(cp936_sql), result);
  ThrowOnFailure(ok, result);
  return DataPacket::FromVariant(result);
}

std::string DemoDatabase::Text(std::string_view cp936_sql) {
  const DataPacket rows = Query(cp936_sql);
  if (rows.row_count() != 1) return "<" + std::to_string(rows.row_count()) + " rows>";
  return FieldText(rows.cell(0, 0));
}

double DemoDatabase::Number(std::string_view cp936_sql) {
  const DataPacket rows = Query(cp936_sql);
  EXPECT_EQ(rows.row_count(), 1u) << cp936_sql;
  const FieldValue cell = rows.row_count() == 1 ? rows.cell(0, 0) : FieldValue();
  const double* number = std::get_if<double>(&cell);
  return number != nullptr ? *number : -1;
}

}  // namespace tarnvex::testing
