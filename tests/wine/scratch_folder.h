#pragma once

#include <string>

namespace tarnvex::testing {

// The folder for the databases of the tests, as the ODBC driver sees paths:
// under Wine the driver is a Unix library, so the runner hands over a Unix
// folder in TARNVEX_WINE_SCRATCH; without it, the Windows temporary folder.
// Ends in a separator.
std::u16string ScratchFolder();

}  // namespace tarnvex::testing
