#include "ui/core/KBToolTips.h"

#include "ui/core/CKeyboardTips.h"
#include "ui/core/WindowMessages.h"

namespace TESK {

KBToolTips::KBToolTips()
    : m_anchor{0, 0},
      m_type(1),
      m_mode(3),
      m_pFontFamily(nullptr),
      m_pFormat(new Gdiplus::StringFormat(0x1800)),
      m_backMode(static_cast<enumBackMode>(1)),
      m_backBorder(18) {
  m_pFormat->SetAlignment(Gdiplus::StringAlignmentCenter);
  m_pFormat->SetLineAlignment(Gdiplus::StringAlignmentCenter);
}

KBToolTips::~KBToolTips() {
  delete m_pFontFamily;
  delete m_pFormat;
}

LRESULT KBToolTips::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Only creation, sizing and painting have handlers here; the rest goes straight on.
  switch (message) {
    case WM_CREATE: OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); break;
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), CPoint(lParam).x, CPoint(lParam).y); break;
    case WM_PAINT: OnPaint(); break;
    case WM_ERASEBKGND: return 1;
    case WM_UI_CLOSEDIALOG: return OnUserCloseWindow(static_cast<UINT>(wParam), static_cast<LONG>(lParam));
    default: break;
  }
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

LONG KBToolTips::OnUserCloseWindow(UINT wParam, LONG lParam) {
  PostToSetHandle(m_hWnd, WM_CLOSE, wParam, lParam);
  return 1;
}

void KBToolTips::CloseWindow() { PostToSetHandle(m_hWnd, WM_CLOSE, 0, 0); }

int KBToolTips::OnCreate(CREATESTRUCTW*) {
  SetOwnerDrawnStyle(m_hWnd, true);
  return 1;
}

int KBToolTips::OnSize(UINT, int, int) {
  CRect client;
  GetClientRect(&client);
  InvalidateRect(client, FALSE);
  return 1;
}

// Nothing is drawn; the default handling that follows validates the window.
int KBToolTips::OnPaint() { return 1; }

int KBToolTips::LoadBKImage(CString file) { return m_background.LoadSkin(file); }

int KBToolTips::SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t*, POINT) {
  return CKeyboardTips::RefusesMessage(m_title, title, text) ? 0 : 1;
}

}  // namespace TESK
