#pragma once

#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>

#include "host/data_packet.h"
#include "host/win32/com_ptr.h"

namespace tarnvex::testing {

// The ODBC connection string of a SQLite file.
std::u16string ConnectionTo(const std::u16string& database);

// The stand-in host's automation object over a SQLite file, as the plug-in is
// given it.
ComPtr<IDispatch> StandinHostOn(const std::u16string& database);

// Makes the demo database afresh in the scratch folder under name; its path,
// or empty when it could not be made.
std::u16string MakeDemoDatabase(const std::u16string& name);

// Makes a large database afresh in the scratch folder under name: 1,000 items
// in ten categories, 100 vehicle types and every item's parameters for every
// type (100,000 rows), all measures used. Its path, or empty when it could not
// be made.
std::u16string MakeLargeDatabase(const std::u16string& name);

// Behind the editor's back, through a service of its own: the first value a
// query of the database answers now (an empty value when it answers no row),
// and statements run on it in one batch (false when one fails).
FieldValue ReadValue(const std::u16string& database, const std::u16string& sql);
bool ExecuteOn(const std::u16string& database, std::initializer_list<std::u16string> statements);

}  // namespace tarnvex::testing
