#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/data_packet.h"
#include "standin/standin_service.h"
#include "support/temp_folder.h"

namespace tarnvex::testing {

// A SQLite file with the editor's tables, filled with the demo data or left
// empty, behind the stand-in data service.
class DemoDatabase {
 public:
  struct Options {
    bool demo = true;
    // What GetDatabaseKind answers; empty: the engine's own word.
    std::string database_kind;
    // An operator whom CheckRight refuses the editing function "9026".
    std::u16string refused_operator;
  };

  explicit DemoDatabase(Options options);
  // On the database of an ODBC connection string instead of a file of its
  // own: its tables are dropped and made again.
  DemoDatabase(Options options, std::u16string connection_string);
  DemoDatabase() : DemoDatabase(Options{}) {}

  const std::shared_ptr<StandinDataService>& service() const { return service_; }

  // Runs statements separated by ";" (code page 936); a failure raises.
  void Execute(std::string_view cp936_sql);
  // The rows of a query (code page 936); a failure raises.
  DataPacket Query(std::string_view cp936_sql);
  // The one value of a query of one row, as the editor reads it as text
  // ("<N rows>" for any other count), or as a number (a test failure and -1
  // for any other count).
  std::string Text(std::string_view cp936_sql);
  double Number(std::string_view cp936_sql);

 private:
  TempFolder folder_;
  std::shared_ptr<StandinDataService> service_;
};

}  // namespace tarnvex::testing
