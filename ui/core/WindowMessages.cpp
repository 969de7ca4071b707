#include "ui/core/WindowMessages.h"

namespace TESK {

void SetOwnerDrawnStyle(HWND hwnd, bool toolWindow) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((style & 0xFF3BFFFF) | 0x06000008));
  if (toolWindow) SetWindowLongW(hwnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

void SetupTranslucency(HWND hwnd, int alpha, COLORREF colorKey) {
  if (!hwnd || hwnd == reinterpret_cast<HWND>(-1)) return;
  if (alpha != 255) {
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
  } else if (colorKey != 0xFFFFFF) {
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(hwnd, colorKey, 255, LWA_COLORKEY);
  }
}

void PostToSetHandle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1)) ::PostMessageW(hwnd, message, wParam, lParam);
}

}  // namespace TESK
