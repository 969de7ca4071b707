#include "ProgressRecorder.h"

#include "app/AppMessages.h"

namespace testsupport {

namespace {
constexpr wchar_t kClassName[] = L"TavirTestProgressRecorder";
}

ProgressRecorder::ProgressRecorder() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);  // fails harmlessly when a previous recorder registered it
  m_window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ProgressRecorder::~ProgressRecorder() {
  if (m_window) DestroyWindow(m_window);
}

std::vector<int> ProgressRecorder::Percentages() {
  MSG msg;
  while (PeekMessageW(&msg, m_window, WM_KB_FLASH_PROGRESS, WM_KB_FLASH_PROGRESS, PM_REMOVE)) DispatchMessageW(&msg);
  return m_percentages;
}

LRESULT CALLBACK ProgressRecorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ProgressRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_KB_FLASH_PROGRESS && self) {
    self->m_percentages.push_back(lParam == 0 ? static_cast<int>(wParam) : -1);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace testsupport
