// Bounded message pumping for tests: a test that waits for a window or a message
// pumps until its condition holds or the time-out passes, and then fails with what
// it saw; it never blocks forever.
#pragma once

#include <windows.h>

#include <functional>

namespace testsupport {

// Pumps this thread's messages until done() is true or timeoutMs has passed.
// Returns done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Waits, without dispatching anything, until done() is true or timeoutMs has passed; for a
// test that must find a posted message still queued. Returns done()'s last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Pumps this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);

}  // namespace testsupport
