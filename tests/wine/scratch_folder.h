#pragma once

#include <string>

namespace tarnvex::testing {

// The folder for the databases of the tests, as the ODBC driver sees paths:
// under Wine the driver is a Unix library, so the runner hands over a Unix
// folder in TARNVEX_WINE_SCRATCH; without it, the Windows temporary folder.
// Ends in a separator.
std::u16string ScratchFolder();

// A path such as the scratch folder's as the W functions take it: wchar_t is
// UTF-16 on Windows, as char16_t is.
std::wstring Wide(const std::u16string& text);

}  // namespace tarnvex::testing
