#pragma once

#include <functional>

namespace tarnvex::testing {

// Handles this thread's messages until done() holds or limit_milliseconds
// have passed; returns done(). Waits on the queue, never by fixed sleeps.
bool PumpUntil(const std::function<bool()>& done, unsigned limit_milliseconds = 10000);

// Handles the messages already queued, and those they post in turn.
void PumpPending();

}  // namespace tarnvex::testing
