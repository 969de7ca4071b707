// A message-only window that collects the WM_KB_FLASH_PROGRESS percentages posted to it.
// It belongs to the thread that creates it; Percentages pumps that thread's queue for it.
#pragma once

#include <windows.h>

#include <vector>

namespace testsupport {

class ProgressRecorder {
 public:
  ProgressRecorder();
  ~ProgressRecorder();
  ProgressRecorder(const ProgressRecorder&) = delete;
  ProgressRecorder& operator=(const ProgressRecorder&) = delete;

  HWND Window() const { return m_window; }
  // Dispatches the progress messages queued so far and returns every percentage received,
  // oldest first. A message whose lParam is not 0 is recorded as -1.
  std::vector<int> Percentages();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  std::vector<int> m_percentages;
};

}  // namespace testsupport
