#include "ui/core/MDialog.h"

#include "ui/core/MAirBladder.h"
#include "ui/core/MControl.h"
#include "ui/core/Manager.h"
#include "ui/core/WindowMessages.h"

namespace TESK {

MDialog::MDialog() : m_colorKey(0xFFFFFF), m_alpha(255), m_tooltipCtrlId(0) {}

MDialog::~MDialog() = default;

// ---- Message translation ----

LRESULT MDialog::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (TranslateWindowMessage(*this, message, wParam, lParam, result)) return result;
  if (const LRESULT handled = m_paintManager.OnWindowMessage(message, wParam, lParam)) return handled;
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

int MDialog::PreTranslateMessage(MSG* msg) { return m_paintManager.PreTranslateMessage(msg) ? 1 : 0; }

int MDialog::OnInitDialog() {
  m_paintManager.Init(m_hWnd, this);
  ::GetClientRect(m_hWnd, &m_rcClient);
  InitUI(m_rcClient);
  return 1;
}

void MDialog::OnDestroyMessage(HWND hwnd) {
  if (hwnd == m_paintManager.GetPaintWnd()) m_paintManager.DestroyData();
  PostNcDestroy();
}

// ---- Default handlers ----

POINT MDialog::GetAirBladderPoint(MControl* control, UINT type) {
  POINT pt = {0, 0};
  if (!control) return pt;
  const CRect rect = control->GetRect();
  pt.y = rect.bottom;
  pt.x = type == 1 ? rect.left + (rect.right - rect.left) / 2 : type == 2 ? rect.right : rect.left;
  ClientToScreen(&pt);
  return pt;
}

void MDialog::OnMinimize() { ShowWindow(SW_MINIMIZE); }

void MDialog::OnMaximize() { ShowWindow(::IsZoomed(m_hWnd) ? SW_RESTORE : SW_MAXIMIZE); }

void MDialog::InitUI(CRect) {}

void MDialog::UISize(CRect) {}

LONG MDialog::OnMessage(UINT, UINT, UINT, LONG) { return 0; }

LONG MDialog::OnUserCloseWindow(UINT wParam, LONG lParam) {
  PostToSetHandle(m_hWnd, WM_CLOSE, wParam, lParam);
  return 1;
}

int MDialog::OnCreate(CREATESTRUCTW*) {
  SetOwnerDrawnStyle(m_hWnd, false);
  return 1;
}

int MDialog::OnSize(UINT, int, int) {
  if (!(HasHandle() && ::IsIconic(m_hWnd))) SetupBackTranslucent();
  if (HasHandle()) ::GetClientRect(m_hWnd, &m_rcClient);
  if (m_rcClient.Width() > 1 && m_rcClient.Height() > 1) UISize(m_rcClient);
  if (HasHandle()) ::InvalidateRect(m_hWnd, &m_rcClient, FALSE);
  return 0;
}

int MDialog::OnMouseMove(UINT, CPoint) { return 0; }
int MDialog::OnMouseLeave(UINT, LONG) { return 0; }
int MDialog::OnMouseHover(UINT, LONG) { return 0; }
int MDialog::OnMouseWheel(UINT, short, CPoint) { return 0; }
int MDialog::OnLButtonDown(UINT, CPoint) { return 0; }
int MDialog::OnLButtonUp(UINT, CPoint) { return 0; }
int MDialog::OnLButtonDblClk(UINT, CPoint) { return 0; }
int MDialog::OnRButtonDown(UINT, CPoint) { return 0; }
int MDialog::OnRButtonUp(UINT, CPoint) { return 0; }
int MDialog::OnRButtonDblClk(UINT, CPoint) { return 0; }
int MDialog::OnKeyDown(UINT, UINT, UINT) { return 0; }
int MDialog::OnNcHitTest(CPoint) { return 0; }
int MDialog::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
int MDialog::OnNcCalcSize(int, NCCALCSIZE_PARAMS*) { return 0; }
int MDialog::OnNcActivate(int) { return 0; }
int MDialog::OnWindowPosChanging(WINDOWPOS*) { return 1; }
int MDialog::OnWindowPosChanged(WINDOWPOS*) { return 1; }
int MDialog::OnPaint() { return 0; }
void MDialog::OnTimer(UINT) {}
int MDialog::OnNcPaint() { return 0; }
int MDialog::OnClose() { return 1; }
int MDialog::OnDestroy() { return 0; }
int MDialog::PostNcDestroy() { return 0; }

// ---- The MObject part ----

const wchar_t* MDialogObject::GetClassNameW() const { return L"MDialog"; }

LRESULT MDialogObject::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return static_cast<MDialog*>(this)->OnMessage(id, code, static_cast<UINT>(wParam), static_cast<LONG>(lParam));
}

LRESULT MDialogObject::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  return static_cast<MDialog*>(this)->GetPaintManager()->OnControlUpdate(rect, redraw, control);
}

// ---- Closing ----

void MDialog::PostClose(UINT result) { PostToSetHandle(m_hWnd, WM_UI_CLOSEDIALOG, result, 0); }

void MDialog::DoOK() { PostClose(IDOK); }
void MDialog::DoCancel() { PostClose(IDCANCEL); }
void MDialog::DoClose() { PostClose(IDCANCEL); }
void MDialog::DoYes() { PostClose(IDYES); }
void MDialog::DoNo() { PostClose(IDNO); }

// ---- Controls ----

MControl* MDialog::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled) {
  return m_paintManager.CreateControl(1, static_cast<MObject*>(this), className, id, rect, title, visible, enabled);
}

MControl* MDialog::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                              int enabled) {
  return m_paintManager.CreateControl(0, static_cast<MObject*>(this), className, id, rect, title, visible, enabled);
}

MControl* MDialog::GetControl(UINT id) { return m_paintManager.GetControl(id); }

std::vector<MControl*>* MDialog::GetControls() { return m_paintManager.GetControls(); }

void MDialog::SetFocusControl(MControl* control) { m_paintManager.SetFocusControl(control); }

// ---- Appearance ----

int MDialog::LoadBKImage(CString file) { return m_paintManager.LoadBKImage(file); }
int MDialog::LoadBKImage(UINT id, CString type) { return m_paintManager.LoadBKImage(id, type); }
void MDialog::SetBackMode(enumBackMode mode, int border) { m_paintManager.SetBackMode(mode, border); }
void MDialog::SetScrollResID(UINT vertical, UINT horizontal) { m_paintManager.SetScrollResID(vertical, horizontal); }
void MDialog::SetLayeredWindow(int layered) { m_paintManager.SetLayeredWindow(layered); }
void MDialog::EnableWndDrag(int enable) { m_paintManager.EnableWndDrag(enable); }

void MDialog::SetupBackTranslucent() { SetupTranslucency(m_hWnd, m_alpha, m_colorKey); }

void MDialog::SetMessage(CString text, CRect rect, MsgLevel level) {
  if (rect.IsRectEmpty()) {
    if (HasHandle()) ::GetClientRect(m_hWnd, &rect);
    const int middle = (rect.right - rect.left) / 2;
    rect.left = middle - 251;
    rect.right = middle + 251;
    rect.top = rect.bottom - 70;
    rect.bottom = rect.bottom - 12;
  }
  m_paintManager.SetMessage(text, rect, level);
}

void MDialog::SetProgress(int percent, CString text, CRect rect) { m_paintManager.SetProgress(percent, text, rect); }
void MDialog::SetTooltip(CString text, CRect rect) { m_paintManager.SetTooltip(text, rect); }
void MDialog::ClearTooltip() { m_paintManager.ClearTooltip(); }

int MDialog::SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type) {
  // A zero coordinate is taken for "no anchor" (GetAirBladderPoint without a control).
  if (pt.x == 0 || pt.y == 0) return 0;
  // A text the balloon refuses (null) shows nothing and is not reported as shown.
  if (!m_paintManager.SetAirBladderMsg(text, pt, type, static_cast<AIRBLADDER_MODE>(3))) return 0;
  if (MAirBladder* balloon = m_paintManager.GetAirBladder()) balloon->ShowWindow(SW_SHOW);
  return 1;
}

// ---- Shadow ----

void MDialog::CreateShadow(int show, bool reinitialise) { m_paintManager.CreateShadow(show, reinitialise); }
void MDialog::SetShadowShow(int show) { m_paintManager.SetShadowShow(show); }
int MDialog::SetSize(int size) { return m_paintManager.SetSize(size); }
int MDialog::SetSharpness(UINT sharpness) { return m_paintManager.SetSharpness(sharpness); }
int MDialog::SetDarkness(UINT darkness) { return m_paintManager.SetDarkness(darkness); }
int MDialog::SetPosition(int x, int y) { return m_paintManager.SetPosition(x, y); }
int MDialog::SetShadowColor(COLORREF color) { return m_paintManager.SetShadowColor(color); }
int MDialog::SetShadowImage(const wchar_t* file, CRect corners) { return m_paintManager.SetShadowImage(file, corners); }
int MDialog::SetShadowImage(UINT id, CRect corners) { return m_paintManager.SetShadowImage(id, corners); }

// ---- Timer ----

void MDialog::SetMTimer(UINT period) { m_paintManager.SetMTimer(period); }
void MDialog::KillMTimer(UINT id) { m_paintManager.KillMTimer(id); }

}  // namespace TESK
