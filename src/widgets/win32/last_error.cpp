#include "widgets/win32/last_error.h"

#include <windows.h>

#include <system_error>

namespace tarnvex {

void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

}  // namespace tarnvex
