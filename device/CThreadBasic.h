// CThreadBasic: the periodic worker-thread base. An owner derives from it, overrides the
// one virtual operation (the step) and calls Start once; the thread then calls the step
// every period (the period is the least time from the start of one step to the start of
// the next) until Stop clears the running flag, and signals the stop event as its last act.
//
// Threads: Start, Stop and WaitForEnd are called by the owner's thread (the UI thread);
// WorkerStep runs on the worker only. m_running is written by the owner and read by the
// worker once per round, so a cleared flag ends the thread after the step in progress.
// Stop waits at most 1000 ms; a step may outlast that (a transfer ending by its time-out),
// so the most-derived owner calls WaitForEnd in its destructor before anything the step
// uses goes away. The base keeps the thread handle for that wait only.
#pragma once

#include <windows.h>

#include <atomic>

class CThreadBasic {
 public:
  CThreadBasic(const CThreadBasic&) = delete;
  CThreadBasic& operator=(const CThreadBasic&) = delete;

  virtual void WorkerStep() = 0;

  // Period 1 ms, periodic, exit code GetTickCount, a new manual-reset stop event (not
  // signalled), running flag set, then the thread on ThreadProc. False, and nothing
  // started, while the flag is set or an earlier thread has not yet ended.
  bool Start();
  // When running: clear the flag, wait at most 1000 ms for the stop event, close it.
  void Stop();
  // Waits until the thread has left its last step (at once when none was started).
  void WaitForEnd();
  // Sleeps ms on the worker; returns false, early, once Stop has been called.
  bool PauseUnlessStopping(DWORD ms);

  static DWORD WINAPI ThreadProc(LPVOID self);

  HANDLE m_hStopEvent = nullptr;
  std::atomic<int> m_running{0};
  int m_periodic = 0;
  int m_periodMs = 1;
  int m_exitCode = 0;

 protected:
  CThreadBasic() = default;
  // Not virtual: the table holds the step alone. The owner waits for the thread first.
  ~CThreadBasic();

 private:
  void RunLoop();

  HANDLE m_thread = nullptr;
  // The thread's own handle of the stop event: Stop may close m_hStopEvent while a long
  // step still runs, and the thread must never signal a handle that was closed.
  HANDLE m_threadStopEvent = nullptr;
  std::atomic<bool> m_stopping{false};
};
