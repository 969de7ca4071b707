// Timing for tests and benchmark programs: elapsed time on the fine clock, and the mean
// wall-clock time of a call.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace testsupport {

// The system tick (GetTickCount, the time-outs of Sleep and of waits) advances in steps of up to
// this many milliseconds, so code that waits N ms by it may return up to one step early.
constexpr double kTickStepMs = 16.0;

// Milliseconds since construction, measured on the performance counter. GetTickCount is too
// coarse to check a wait: a correct 2000 ms wait reads as 1985 ms on it now and then.
class ElapsedTime {
 public:
  ElapsedTime() : m_start(std::chrono::steady_clock::now()) {}
  double Ms() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
  }

 private:
  std::chrono::steady_clock::time_point m_start;
};

// Runs call(i) for i = 0 .. calls - 1, waits for GDI to finish, and returns microseconds per call.
inline double MicrosecondsPerCall(int calls, const std::function<void(int)>& call) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) call(i);
  GdiFlush();
  const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / calls;
}

}  // namespace testsupport
