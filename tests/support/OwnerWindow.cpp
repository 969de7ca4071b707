#include "OwnerWindow.h"

namespace testsupport {

namespace {

const wchar_t* const kClassName = L"TestOwnerWindow";
// Where the window sits on the screen (the control host's place).
constexpr int kScreenLeft = 240;
constexpr int kScreenTop = 160;

}  // namespace

OwnerWindow::OwnerWindow(int width, int height) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassW(&wc);  // fails harmlessly when registered before
  m_window = CreateWindowExW(0, kClassName, L"owner", WS_POPUP | WS_CLIPCHILDREN, kScreenLeft, kScreenTop, width, height,
                             nullptr, nullptr, wc.hInstance, this);
  if (m_window) ShowWindow(m_window, SW_SHOWNOACTIVATE);
}

OwnerWindow::~OwnerWindow() {
  if (m_window) DestroyWindow(m_window);
}

std::vector<ReceivedMessage> OwnerWindow::Received(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  MSG msg;
  while (GetTickCount64() < deadline && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return m_received;
}

LRESULT CALLBACK OwnerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message >= WM_USER && message < 0xC000) self->m_received.push_back({message, wParam, lParam});
  LRESULT result = 0;
  if (self && self->handler && self->handler(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace testsupport
