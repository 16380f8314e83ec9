#pragma once

namespace tarnvex {

// Throws std::system_error with the thread's last error and the name of the
// call that failed; the text says which call and why, in the system's words.
[[noreturn]] void ThrowLastError(const char* what);

}  // namespace tarnvex
