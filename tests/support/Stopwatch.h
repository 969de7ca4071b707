// Timing for the benchmark programs: the mean wall-clock time of a call, in microseconds.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace testsupport {

// Runs call(i) for i = 0 .. calls - 1, waits for GDI to finish, and returns microseconds per call.
inline double MicrosecondsPerCall(int calls, const std::function<void(int)>& call) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) call(i);
  GdiFlush();
  const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / calls;
}

}  // namespace testsupport
