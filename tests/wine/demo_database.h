#pragma once

#include <string>

namespace tarnvex::testing {

// The ODBC connection string of a SQLite file.
std::u16string ConnectionTo(const std::u16string& database);

// Makes the demo database afresh in the scratch folder under name; its path,
// or empty when it could not be made.
std::u16string MakeDemoDatabase(const std::u16string& name);

// Makes a large database afresh in the scratch folder under name: 1,000 items
// in ten categories, 100 vehicle types and every item's parameters for every
// type (100,000 rows), all measures used. Its path, or empty when it could not
// be made.
std::u16string MakeLargeDatabase(const std::u16string& name);

}  // namespace tarnvex::testing
