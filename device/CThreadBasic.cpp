#include "device/CThreadBasic.h"

#include <chrono>

namespace {

constexpr DWORD kStopWaitMs = 1000;
constexpr DWORD kPauseSliceMs = 10;

int64_t NowMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

CThreadBasic::~CThreadBasic() {
  WaitForEnd();
  if (m_hStopEvent) CloseHandle(m_hStopEvent);
}

bool CThreadBasic::Start() {
  if (m_running) return false;
  if (m_thread) {
    if (WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0) return false;
    CloseHandle(m_thread);
    m_thread = nullptr;
  }
  m_periodMs = 1;
  m_periodic = 1;
  m_exitCode = static_cast<int>(GetTickCount());
  if (m_hStopEvent) CloseHandle(m_hStopEvent);
  m_hStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!m_hStopEvent) return false;
  if (!DuplicateHandle(GetCurrentProcess(), m_hStopEvent, GetCurrentProcess(), &m_threadStopEvent, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    m_threadStopEvent = nullptr;
  }
  m_stopping = false;
  m_running = 1;
  m_thread = CreateThread(nullptr, 0, &CThreadBasic::ThreadProc, this, 0, nullptr);
  if (!m_thread) {
    m_running = 0;
    if (m_threadStopEvent) CloseHandle(m_threadStopEvent);
    m_threadStopEvent = nullptr;
    return false;
  }
  return true;
}

void CThreadBasic::Stop() {
  if (!m_running) return;
  m_stopping = true;
  m_running = 0;
  if (m_hStopEvent) {
    WaitForSingleObject(m_hStopEvent, kStopWaitMs);
    CloseHandle(m_hStopEvent);
    m_hStopEvent = nullptr;
  }
}

void CThreadBasic::WaitForEnd() {
  if (!m_thread) return;
  WaitForSingleObject(m_thread, INFINITE);
  CloseHandle(m_thread);
  m_thread = nullptr;
}

bool CThreadBasic::PauseUnlessStopping(DWORD ms) {
  // Sliced, so that a shutdown does not wait out a long pause of a task.
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (m_stopping) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return true;
    Sleep(static_cast<DWORD>(end - now < kPauseSliceMs ? end - now : kPauseSliceMs));
  }
}

DWORD WINAPI CThreadBasic::ThreadProc(LPVOID self) {
  CThreadBasic* thread = static_cast<CThreadBasic*>(self);
  thread->RunLoop();
  // Read before signalling: once the event is set the owner may go away.
  const DWORD exitCode = static_cast<DWORD>(thread->m_exitCode);
  HANDLE stopEvent = thread->m_threadStopEvent;
  thread->m_threadStopEvent = nullptr;
  if (stopEvent) {
    SetEvent(stopEvent);
    CloseHandle(stopEvent);
  }
  return exitCode;
}

void CThreadBasic::RunLoop() {
  if (!m_periodic) {
    WorkerStep();
    return;
  }
  while (m_running) {
    const int64_t start = NowMicroseconds();
    WorkerStep();
    const int64_t rest = static_cast<int64_t>(m_periodMs) * 1000 - (NowMicroseconds() - start);
    // Whole milliseconds, rounded up: a short step is never followed sooner than the period.
    if (rest > 0) Sleep(static_cast<DWORD>((rest + 999) / 1000));
  }
}
