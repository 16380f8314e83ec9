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

std::u16string MakeLargeDatabase(const std::u16string& name) {
  std::u16string database = ScratchFolder() + name;
  DeleteFileW(Wide(database).c_str());
  StandinConfig config;
  config.connection_string = ConnectionTo(database);
  StandinDataService service(std::move(config));
  // Cross joins of a table of digits make the rows in SQLite itself, rather
  // than 100,000 statements through ODBC.
  Variant texts(VariantArray{
      0,
      {Variant(std::u16string(kSchemaSql)), Variant(u"create table digits (d integer)"),
       Variant(u"insert into digits (d) values (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)"),
       Variant(u"insert into tbdycxda (f_cxbm, f_cxmc) select printf('%03d', a.d * 10 + b.d), "
               u"'type ' || (a.d * 10 + b.d) from digits a, digits b"),
       Variant(u"insert into tbdyjtxmda (f_jtxmbm, f_jtxmmc, f_lb, f_jj, f_jc, f_jcs, f_js, f_ax, "
               u"f_bc, f_srz, f_fz, f_bz, f_fc) select printf('%04d', a.d * 100 + b.d * 10 + c.d), "
               u"'item ' || (a.d * 100 + b.d * 10 + c.d), 'category ' || a.d, '1', '1', '1', '1', "
               u"'1', '1', '1', '1', '1', '1' from digits a, digits b, digits c"),
       Variant(u"insert into tbdyjtxmlb (f_jtxmbm, f_cxbm) select i.f_jtxmbm, t.f_cxbm "
               u"from tbdyjtxmda i, tbdycxda t")}});
  if (!service.ExecuteStatement(texts)) return u"";
  return database;
}

}  // namespace tarnvex::testing
