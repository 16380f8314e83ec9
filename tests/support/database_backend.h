#pragma once

#include <string>

namespace tarnvex::testing {

// The database engine that the scenarios of operators sharing one database
// run on, chosen by the test program they are linked into: an ODBC
// connection string, or "" for a SQLite file of each DemoDatabase's own. Sets
// skip_reason when the engine cannot be had on this machine.
std::u16string SharedDatabaseConnection(std::string& skip_reason);

}  // namespace tarnvex::testing
