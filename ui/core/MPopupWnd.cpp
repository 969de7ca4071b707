#include "ui/core/MPopupWnd.h"

#include "ui/core/MControl.h"
#include "ui/core/WindowMessages.h"

namespace TESK {

MPopupWnd::MPopupWnd() : m_pParentObject(nullptr), m_colorKey(0xF1F1F1), m_alpha(255), m_bRecomputingFrame(0) {}

MPopupWnd::~MPopupWnd() = default;

LRESULT MPopupWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (TranslateWindowMessage(*this, message, wParam, lParam, result)) return result;
  if (const LRESULT handled = m_paintManager.OnWindowMessage(message, wParam, lParam)) return handled;
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

// Popups have no keyboard focus traversal.
int MPopupWnd::PreTranslateMessage(MSG*) { return 0; }

int MPopupWnd::OnInitDialog() {
  m_paintManager.Init(m_hWnd, this);
  m_paintManager.EnableWndDrag(0);
  CRect client;
  if (HasHandle()) ::GetClientRect(m_hWnd, &client);
  InitUI(client);
  return 1;
}

MObject* MPopupWnd::GetParent() { return m_pParentObject; }

void MPopupWnd::InitUI(CRect) {}

void MPopupWnd::UISize(CRect) {}

LONG MPopupWnd::OnMessage(UINT, UINT, UINT, LONG) { return 0; }

LONG MPopupWnd::OnUserCloseWindow(UINT wParam, LONG lParam) {
  PostToSetHandle(m_hWnd, WM_CLOSE, wParam, lParam);
  return 1;
}

void MPopupWnd::CloseWindow() { PostToSetHandle(m_hWnd, WM_CLOSE, 0, 0); }

int MPopupWnd::OnCreate(CREATESTRUCTW*) {
  SetOwnerDrawnStyle(m_hWnd, true);
  return 1;
}

int MPopupWnd::OnSize(UINT, int, int) {
  CRect client;
  if (HasHandle()) ::GetClientRect(m_hWnd, &client);
  UISize(client);
  if (HasHandle()) ::InvalidateRect(m_hWnd, &client, FALSE);
  return 0;
}

int MPopupWnd::OnMouseMove(UINT, CPoint) { return 0; }
int MPopupWnd::OnMouseLeave(UINT, LONG) { return 0; }
int MPopupWnd::OnMouseHover(UINT, LONG) { return 0; }
int MPopupWnd::OnMouseWheel(UINT, short, CPoint) { return 0; }
int MPopupWnd::OnLButtonDown(UINT, CPoint) { return 0; }
int MPopupWnd::OnLButtonUp(UINT, CPoint) { return 0; }
int MPopupWnd::OnLButtonDblClk(UINT, CPoint) { return 0; }
int MPopupWnd::OnRButtonDown(UINT, CPoint) { return 0; }
int MPopupWnd::OnRButtonUp(UINT, CPoint) { return 0; }
int MPopupWnd::OnRButtonDblClk(UINT, CPoint) { return 0; }
int MPopupWnd::OnKeyDown(UINT, UINT, UINT) { return 0; }
int MPopupWnd::OnNcHitTest(CPoint) { return 0; }
int MPopupWnd::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
int MPopupWnd::OnNcCalcSize(int, NCCALCSIZE_PARAMS*) { return 0; }

int MPopupWnd::OnNcActivate(int active) {
  if (!active && IsLive()) ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
  return 1;
}

int MPopupWnd::OnWindowPosChanging(WINDOWPOS*) { return 0; }

int MPopupWnd::OnWindowPosChanged(WINDOWPOS* pos) {
  if (!m_bRecomputingFrame && HasHandle()) {
    // SWP_FRAMECHANGED sends WM_WINDOWPOSCHANGED again, into this handler.
    m_bRecomputingFrame = 1;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOSENDCHANGING);
    m_bRecomputingFrame = 0;
  }
  if (!pos) return 1;
  if (IsLive()) {
    ::SendMessageW(m_hWnd, WM_MOVE, 0, MAKELPARAM(pos->x, pos->y));
    ::SendMessageW(m_hWnd, WM_SIZE, 0, MAKELPARAM(pos->cx, pos->cy));
  }
  OnSize(0, pos->cx, pos->cy);
  return 1;
}

int MPopupWnd::OnPaint() { return 0; }
void MPopupWnd::OnTimer(UINT) {}
int MPopupWnd::OnNcPaint() { return 0; }
int MPopupWnd::OnClose() { return 1; }
int MPopupWnd::PostNcDestroy() { return 0; }
int MPopupWnd::OnDestroy() { return 0; }

// ---- The MObject part ----

LRESULT MPopupObject::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return static_cast<MPopupWnd*>(this)->OnMessage(id, code, static_cast<UINT>(wParam), static_cast<LONG>(lParam));
}

LRESULT MPopupObject::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  return static_cast<MPopupWnd*>(this)->GetPaintManager()->OnControlUpdate(rect, redraw, control);
}

// ---- Plain members ----

int MPopupWnd::LoadBKImage(CString file) { return m_paintManager.LoadBKImage(file); }
int MPopupWnd::LoadBKImage(UINT id, CString type) { return m_paintManager.LoadBKImage(id, type); }
void MPopupWnd::SetBackMode(enumBackMode mode, int border) { m_paintManager.SetBackMode(mode, border); }
void MPopupWnd::SetScrollResID(UINT vertical, UINT horizontal) { m_paintManager.SetScrollResID(vertical, horizontal); }
void MPopupWnd::SetLayeredWindow(int layered) { m_paintManager.SetLayeredWindow(layered); }
void MPopupWnd::SetupBackTranslucent() { SetupTranslucency(m_hWnd, m_alpha, m_colorKey); }

void MPopupWnd::SetupRegion(int diameter) {
  CRect window;
  if (!GetWindowRect(&window)) return;
  HRGN region = ::CreateRoundRectRgn(0, 0, window.Width(), window.Height(), diameter, diameter);
  // From here on the system owns the region; a failed call leaves it ours to free.
  if (region && !::SetWindowRgn(m_hWnd, region, TRUE)) ::DeleteObject(region);
}

MControl* MPopupWnd::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                   int enabled) {
  return m_paintManager.CreateControl(1, static_cast<MObject*>(this), className, id, rect, title, visible, enabled);
}

MControl* MPopupWnd::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                int enabled) {
  return m_paintManager.CreateControl(0, static_cast<MObject*>(this), className, id, rect, title, visible, enabled);
}

MControl* MPopupWnd::GetControl(UINT id) { return m_paintManager.GetControl(id); }

int MPopupWnd::SendMessageToParent(UINT code, UINT wParam, LONG lParam) {
  if (!m_pParentObject) return 0;
  // A control parent takes it through its OnMessage; any other owner through OnBaseMessage.
  if (auto* control = dynamic_cast<MControl*>(m_pParentObject)) {
    return static_cast<int>(control->OnMessage(0, code, wParam, lParam));
  }
  return static_cast<int>(m_pParentObject->OnBaseMessage(0, code, wParam, lParam));
}

}  // namespace TESK
