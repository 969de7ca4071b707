// The translation of window messages into the virtual handlers of the library's owner-drawn
// windows: dialogs, popups and menus, the balloon tip and the other tip windows. Each of
// those classes declares handlers of the same names and arguments at slots of its own, so
// the table below is written once, as a template over the window class, and every class
// instantiates it. Together with the translation live the small steps those windows share
// around it: the frame-less style of WM_CREATE, translucency and the posted closes.
// UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/Geometry.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// Posted to a dialog or popup by its close operations; wParam is the modal result.
constexpr UINT WM_UI_CLOSEDIALOG = WM_USER + 66;

// Calls window's handler for message. True when the translation has the final answer in
// result (WM_ERASEBKGND: 1, the engine paints the whole client area; WM_UI_CLOSEDIALOG:
// OnUserCloseWindow's result); false when the message goes on to the window's engine and
// then to the previous window procedure. Handler results are otherwise ignored.
template <class Window>
bool TranslateWindowMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const UINT w = static_cast<UINT>(wParam);
  const CPoint pt(lParam);  // sign-extended low and high words
  switch (message) {
    case WM_CREATE: window.OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); break;
    case WM_DESTROY: window.OnDestroy(); break;
    case WM_SIZE: window.OnSize(w, pt.x, pt.y); break;
    case WM_PAINT: window.OnPaint(); break;
    case WM_CLOSE: window.OnClose(); break;
    case WM_ERASEBKGND: result = 1; return true;
    case WM_WINDOWPOSCHANGING: window.OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case WM_WINDOWPOSCHANGED: window.OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case WM_NCACTIVATE: window.OnNcActivate(static_cast<int>(wParam)); break;
    case WM_TIMER: window.OnTimer(w); break;
    case WM_MOUSEMOVE: window.OnMouseMove(w, pt); break;
    case WM_LBUTTONDOWN: window.OnLButtonDown(w, pt); break;
    case WM_LBUTTONUP: window.OnLButtonUp(w, pt); break;
    case WM_LBUTTONDBLCLK: window.OnLButtonDblClk(w, pt); break;
    case WM_RBUTTONDOWN: window.OnRButtonDown(w, pt); break;
    case WM_RBUTTONUP: window.OnRButtonUp(w, pt); break;
    case WM_RBUTTONDBLCLK: window.OnRButtonDblClk(w, pt); break;
    case WM_MOUSEHOVER: window.OnMouseHover(w, static_cast<LONG>(lParam)); break;
    case WM_MOUSELEAVE: window.OnMouseLeave(w, static_cast<LONG>(lParam)); break;
    case WM_UI_CLOSEDIALOG: result = window.OnUserCloseWindow(w, static_cast<LONG>(lParam)); return true;
    default: break;
  }
  return false;
}

// The focus pair, for the tip windows that declare OnSetFocus and OnKillFocus (the other
// window whose handle is not looked up: both get null). Call it before the translation above.
template <class Window>
void TranslateFocusMessage(Window& window, UINT message) {
  if (message == WM_SETFOCUS) window.OnSetFocus(nullptr);
  if (message == WM_KILLFOCUS) window.OnKillFocus(nullptr);
}

// WM_CREATE's style change: caption and sizing frame removed, siblings and children clipped,
// the class-specific bit 0x8 set; a tool window also has its extended style replaced by
// WS_EX_TOOLWINDOW alone.
TESK_API void SetOwnerDrawnStyle(HWND hwnd, bool toolWindow);

// Makes the window layered with a constant alpha (alpha other than 255) or a colour key
// (other than 0xFFFFFF); neither: nothing.
TESK_API void SetupTranslucency(HWND hwnd, int alpha, COLORREF colorKey);

// Posts message (wParam, lParam) to a set handle (not null, not (HWND)-1); nothing otherwise.
TESK_API void PostToSetHandle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace TESK
