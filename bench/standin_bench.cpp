// Saving parameter records into SQLite: the editor's statement batch through the
// stand-in service, against prepared upserts straight through ODBC. Both start
// from empty tables in a fresh file each iteration, so every row is inserted.

#include <benchmark/benchmark.h>

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/statement_array.h"
#include "host/variant.h"
#include "standin/embedded_sql.h"
#include "standin/odbc.h"
#include "standin/standin_service.h"
#include "text/codepage.h"
#include "text/number_text.h"

namespace tarnvex {
namespace {

constexpr int64_t kVehicleTypes = 10;
constexpr size_t kParameterCount = 29;

constexpr const char* kParameterNames[kParameterCount] = {
    "f_jtqd",   "f_jsqd", "f_jsjc", "f_jjjtqd", "f_jjjtjc", "f_lcqd", "f_lcjc", "f_jcjtqd",
    "f_jcjtjc", "f_sjqd", "f_sjjc", "f_jsjtqd", "f_jsjtjc", "f_xlqd", "f_xljc", "f_jxjtqd",
    "f_jxjtjc", "f_mdqd", "f_mdjc", "f_bcjtqd", "f_bcjtjc", "f_jcjt", "f_pcjt", "f_fkjt",
    "f_psjt",   "f_ybjt", "f_tsjt", "f_jtxe",   "f_fhjt"};

struct ParameterRecord {
  std::string code;
  std::string type;
  std::array<double, kParameterCount> values;
};

std::string Code(int64_t number, int width) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*lld", width, static_cast<long long>(number));
  return text;
}

std::vector<ParameterRecord> Records(int64_t count) {
  std::vector<ParameterRecord> records(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) {
    ParameterRecord& record = records[static_cast<size_t>(i)];
    record.code = Code(i / kVehicleTypes, 6);
    record.type = Code(i % kVehicleTypes, 2);
    for (size_t j = 0; j < kParameterCount; ++j) {
      record.values[j] =
          static_cast<double>((i * 37 + static_cast<int64_t>(j) * 11) % 100000) / 100.0;
    }
  }
  return records;
}

// The Transact-SQL parameter statement, built as the editor builds it.
std::string ParameterStatement(const ParameterRecord& record) {
  std::string text = "if Not Exists(select * from tbdyjtxmlb where f_jtxmbm='" + record.code +
                     "' and f_cxbm='" + record.type + "') Insert into tbdyjtxmlb(f_jtxmbm,f_cxbm,";
  for (size_t j = 0; j < kParameterCount; ++j) {
    text += kParameterNames[j];
    text += j + 1 < kParameterCount ? "," : " ";
  }
  text += ") Values('" + record.code + "','" + record.type + "',";
  for (size_t j = 0; j < kParameterCount; ++j) {
    text += FormatNumber(record.values[j]);
    if (j + 1 < kParameterCount) text += ",";
  }
  text += ") else Update tbdyjtxmlb set ";
  for (size_t j = 0; j < kParameterCount; ++j) {
    text += std::string(kParameterNames[j]) + "=" + FormatNumber(record.values[j]);
    if (j + 1 < kParameterCount) text += ",";
  }
  text += " where f_jtxmbm='" + record.code + "' and f_cxbm='" + record.type + "'";
  return text;
}

std::filesystem::path DatabaseFile() {
  return std::filesystem::temp_directory_path() /
         ("tarnvex-bench-" + std::to_string(getpid()) + ".db");
}

// A new, empty database file with the editor's tables.
std::u16string FreshDatabase() {
  const std::filesystem::path file = DatabaseFile();
  std::filesystem::remove(file);
  const std::u16string connection_string =
      u"Driver=SQLite3;Database=" + Utf8ToUtf16(file.string()) + u";";
  StandinConfig config;
  config.connection_string = connection_string;
  StandinDataService service(config);
  Variant schema{std::u16string(kSchemaSql)};
  if (!service.ExecuteStatement(schema)) throw std::runtime_error("cannot create the tables");
  return connection_string;
}

void BM_StandinSave(benchmark::State& state) {
  const std::vector<ParameterRecord> records = Records(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    StandinConfig config;
    config.connection_string = FreshDatabase();
    config.database_kind = "SQLSERVER";
    StandinDataService service(config);
    std::vector<std::string> statements;
    statements.reserve(records.size());
    for (const ParameterRecord& record : records) statements.push_back(ParameterStatement(record));
    Variant batch = StringsToVariantArray(statements);
    state.ResumeTiming();

    if (!service.ExecuteStatement(batch)) state.SkipWithError("the batch failed");
  }
  std::filesystem::remove(DatabaseFile());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StandinSave)->Arg(100000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void Check(SQLRETURN rc, const char* what) {
  if (!SQL_SUCCEEDED(rc)) throw std::runtime_error(what);
}

void BM_PreparedUpsert(benchmark::State& state) {
  const std::vector<ParameterRecord> records = Records(state.range(0));
  std::string sql = "insert into tbdyjtxmlb(f_jtxmbm,f_cxbm";
  std::string placeholders = "?,?";
  std::string updates;
  for (size_t j = 0; j < kParameterCount; ++j) {
    sql += std::string(",") + kParameterNames[j];
    placeholders += ",?";
    updates +=
        std::string(j == 0 ? "" : ",") + kParameterNames[j] + "=excluded." + kParameterNames[j];
  }
  sql += ") values(" + placeholders + ") on conflict(f_jtxmbm,f_cxbm) do update set " + updates;
  const std::u16string wide_sql(sql.begin(), sql.end());

  for (auto _ : state) {
    state.PauseTiming();
    const std::u16string connection_string = FreshDatabase();
    OdbcEnvironment environment;
    OdbcConnection connection(environment, connection_string);
    connection.SetAutocommit(false);
    OdbcStatement statement(connection);
    SQLHSTMT handle = statement.native_handle();
    state.ResumeTiming();

    Check(SQLPrepareW(handle, reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(wide_sql.data())),
                      static_cast<SQLINTEGER>(wide_sql.size())),
          "SQLPrepareW");
    char code[16];
    char type[16];
    SQLLEN code_length = 0;
    SQLLEN type_length = 0;
    std::array<double, kParameterCount> values{};
    Check(SQLBindParameter(handle, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 20, 0, code,
                           sizeof code, &code_length),
          "SQLBindParameter");
    Check(SQLBindParameter(handle, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 20, 0, type,
                           sizeof type, &type_length),
          "SQLBindParameter");
    for (size_t j = 0; j < kParameterCount; ++j) {
      Check(SQLBindParameter(handle, static_cast<SQLUSMALLINT>(j + 3), SQL_PARAM_INPUT,
                             SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &values[j], 0, nullptr),
            "SQLBindParameter");
    }
    for (const ParameterRecord& record : records) {
      code_length = static_cast<SQLLEN>(record.code.copy(code, sizeof code - 1));
      type_length = static_cast<SQLLEN>(record.type.copy(type, sizeof type - 1));
      values = record.values;
      Check(SQLExecute(handle), "SQLExecute");
    }
    connection.Commit();
  }
  std::filesystem::remove(DatabaseFile());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PreparedUpsert)
    ->Arg(100000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnvex
