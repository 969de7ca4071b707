#include "MessagePump.h"

namespace testsupport {

namespace {
void DispatchPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return done();
    // Sleep until a message arrives or a short slice passes, so polled conditions
    // set by other threads are seen promptly too.
    const DWORD slice = static_cast<DWORD>(deadline - now < 10 ? deadline - now : 10);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
  }
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() >= deadline) return done();
    Sleep(1);
  }
  return true;
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

}  // namespace testsupport
