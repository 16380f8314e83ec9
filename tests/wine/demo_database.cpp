#include "wine/demo_database.h"

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "host/variant.h"
#include "standin/embedded_sql.h"
#include "standin/host_app/standin_dispatch.h"
#include "standin/standin_service.h"
#include "wine/scratch_folder.h"

namespace tarnvex::testing {

namespace {

StandinConfig ConfigOn(const std::u16string& database) {
  StandinConfig config;
  config.connection_string = ConnectionTo(database);
  return config;
}

}  // namespace

std::u16string ConnectionTo(const std::u16string& database) {
  return u"Driver=SQLite3;Database=" + database + u";";
}

ComPtr<IDispatch> StandinHostOn(const std::u16string& database) {
  return MakeStandinDispatch(std::make_shared<StandinDataService>(ConfigOn(database)));
}

std::u16string MakeDemoDatabase(const std::u16string& name) {
  std::u16string database = ScratchFolder() + name;
  DeleteFileW(Wide(database).c_str());
  StandinDataService service(ConfigOn(database));
  Variant texts(
      VariantArray{0, {Variant(std::u16string(kSchemaSql)), Variant(std::u16string(kDemoSql))}});
  if (!service.ExecuteStatement(texts)) return u"";
  return database;
}

std::u16string MakeLargeDatabase(const std::u16string& name) {
  std::u16string database = ScratchFolder() + name;
  DeleteFileW(Wide(database).c_str());
  StandinDataService service(ConfigOn(database));
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

FieldValue ReadValue(const std::u16string& database, const std::u16string& sql) {
  StandinDataService service(ConfigOn(database));
  Variant result;
  if (!service.ExecuteQuery(Variant(sql), result)) return FieldValue{};
  const DataPacket packet = DataPacket::FromVariant(result);
  if (packet.row_count() == 0 || packet.columns().empty()) return FieldValue{};
  return packet.cell(0, 0);
}

bool ExecuteOn(const std::u16string& database, std::initializer_list<std::u16string> statements) {
  StandinDataService service(ConfigOn(database));
  std::vector<Variant> texts;
  for (const std::u16string& statement : statements) texts.emplace_back(statement);
  Variant batch(VariantArray{0, std::move(texts)});
  return service.ExecuteStatement(batch);
}

}  // namespace tarnvex::testing
