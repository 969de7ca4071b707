#include "Backdrop.h"

#include <atomic>
#include <string>

#include "MessagePump.h"

namespace testsupport {

Backdrop::Backdrop(COLORREF colour) : m_colour(colour), m_brush(CreateSolidBrush(colour)) {
  // A class of its own per object: the class brush is the colour.
  static std::atomic<int> serial{0};
  const std::wstring name = L"TavirBackdrop" + std::to_wstring(++serial);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = m_brush;
  wc.lpszClassName = name.c_str();
  m_class = RegisterClassW(&wc);
  m_hwnd = CreateWindowExW(0, name.c_str(), L"Backdrop", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(m_hwnd);
  PumpFor(50);
}

Backdrop::~Backdrop() {
  if (m_hwnd) DestroyWindow(m_hwnd);
  if (m_class) UnregisterClassW(reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(m_class)), GetModuleHandleW(nullptr));
  DeleteObject(m_brush);
}

}  // namespace testsupport
