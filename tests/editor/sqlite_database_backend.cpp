// The shared-database scenarios on SQLite: a file of each database's own.

#include "support/database_backend.h"

namespace tarnvex::testing {

std::u16string SharedDatabaseConnection(std::string& /*skip_reason*/) { return u""; }

}  // namespace tarnvex::testing
