// Steps run on this thread's timer while a modal loop (MWindow::ShowModal / ShowModal2)
// runs the window under test, and a watchdog that ends the loop with kWatchdogResult when
// the window is still there after a bound: a test that waits for a dismissal fails instead
// of hanging. Each step runs once, at its time after the script was made. UI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

class ModalScript {
public:
  // watched: the window whose loop the script drives; the watchdog posts WM_CLOSE
  // (kWatchdogResult, 0) to it after watchdogMs.
  explicit ModalScript(HWND watched, DWORD watchdogMs = 3000);
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  void At(DWORD ms, std::function<void()> step);

  static constexpr UINT kWatchdogResult = 0xDEAD;

private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD);

  std::vector<UINT_PTR> m_timers;
};

}  // namespace testsupport
