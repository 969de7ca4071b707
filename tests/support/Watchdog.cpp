#include "Watchdog.h"

#include <cstdio>
#include <utility>

namespace testsupport {

Watchdog::Watchdog(DWORD timeoutMs, std::string what)
    : m_timeoutMs(timeoutMs),
      m_what(std::move(what)),
      m_done(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_thread(CreateThread(nullptr, 0, &Watchdog::Watch, this, 0, nullptr)) {}

Watchdog::~Watchdog() {
  SetEvent(m_done);
  if (m_thread) {
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
  }
  CloseHandle(m_done);
}

DWORD WINAPI Watchdog::Watch(void* self) {
  auto* dog = static_cast<Watchdog*>(self);
  if (WaitForSingleObject(dog->m_done, dog->m_timeoutMs) == WAIT_OBJECT_0) return 0;
  std::fprintf(stderr, "deadlock: \"%s\" did not end within %lu ms\n", dog->m_what.c_str(),
               static_cast<unsigned long>(dog->m_timeoutMs));
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 4);
  return 1;
}

}  // namespace testsupport
