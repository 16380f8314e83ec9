#include "wine/demo_database.h"

#include <windows.h>

#include <utility>

#include "host/variant.h"
#include "standin/embedded_sql.h"
#include "standin/standin_service.h"
#include "wine/scratch_folder.h"

namespace tarnvex::testing {

namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::u16string ConnectionTo(const std::u16string& database) {
  return u"Driver=SQLite3;Database=" + database + u";";
}

std::u16string MakeDemoDatabase(const std::u16string& name) {
  std::u16string database = ScratchFolder() + name;
  DeleteFileW(Wide(database).c_str());
  StandinConfig config;
  config.connection_string = ConnectionTo(database);
  StandinDataService service(std::move(config));
  Variant texts(
      VariantArray{0, {Variant(std::u16string(kSchemaSql)), Variant(std::u16string(kDemoSql))}});
  if (!service.ExecuteStatement(texts)) return u"";
  return database;
}

}  // namespace tarnvex::testing
