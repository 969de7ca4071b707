// Bounds a test scope that could deadlock: when the scope has not ended after the given
// time, the watchdog reports what was running and ends the test process, so a deadlock
// fails the run instead of hanging it.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

class Watchdog {
public:
  Watchdog(DWORD timeoutMs, std::string what);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

private:
  static DWORD WINAPI Watch(void* self);

  DWORD m_timeoutMs;
  std::string m_what;
  HANDLE m_done;
  HANDLE m_thread;
};

}  // namespace testsupport
