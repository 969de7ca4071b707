// PaintManager: input routing (mouse, wheel, keys, activation, reflected child messages),
// focus and Tab order, the window's tooltip and its balloon tip.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "ui/core/HandlerScope.h"
#include "ui/core/MAirBladder.h"
#include "ui/core/MControl.h"
#include "ui/core/PaintManager.h"
#include "ui/core/TeskModule.h"

namespace TESK {

namespace {

constexpr UINT_PTR kTooltipToolId = 0x521;
// Popup, visible, clipping siblings and children, and the tip windows' own style bit 0x80.
constexpr DWORD kAirBladderStyle = 0x96000080;
constexpr int kTooltipMaxWidth = 256;
constexpr COLORREF kTooltipBackground = 0xF5F5F5;
constexpr UINT kSimplifiedChineseCodePage = 936;
constexpr DWORD kHoverTime = 400;
constexpr int kWheelNotch = 120;
// Edit windows receive their parent's WM_COMMAND and colour messages at this offset.
constexpr UINT kReflectedOffset = 0x2000;
const CPoint kNowhere(-1, -1);

bool Live(const MControl* control) { return control && !control->IsRemoved(); }

CPoint MessagePoint(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

bool IsTabCandidate(const MControl* control) {
  return control->IsVisible() && control->IsEnabled() && control->IsTabStop();
}

// The two walks of the Tab order over [first, last): the first tab stop after the focus
// control; failing that, wrapping to the first tab stop (the focus control included) when
// the focus control was met or there is none. While the engine has no hover control, the
// elements visited by the second walk become it in turn.
template <typename It>
MControl* FindFocusable(It first, It last, MControl* focus, MControl*& hover) {
  bool passed = false;
  for (It it = first; it != last; ++it) {
    MControl* control = *it;
    if (!control) continue;
    if (passed && IsTabCandidate(control)) return control;
    if (control == focus) passed = true;
  }
  const bool wrap = passed || !focus;
  for (It it = first; it != last; ++it) {
    MControl* control = *it;
    if (!control) continue;
    if (!hover) hover = control;
    if (wrap && IsTabCandidate(control)) return control;
  }
  return nullptr;
}

// The tool record in the size every common-controls version accepts.
TOOLINFOW ToolInfo(HWND window, UINT flags, const wchar_t* text) {
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = flags;
  info.hwnd = window;
  info.uId = kTooltipToolId;
  info.lpszText = const_cast<wchar_t*>(text);
  return info;
}

}  // namespace

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Controls removed while this message is handled are freed after it.
  HandlerScope scope;
  if (msg == RunPostedMessage()) {
    RunPosted();
    return 1;
  }
  // A control that takes a raw message ends the routing; the default procedure still runs.
  for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
    if (Live(control) && control->OnWindowMessage(msg, wParam, lParam)) return 0;
  }
  switch (msg) {
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
    case WM_MOUSEHOVER:
      return 1;
    case WM_PAINT:
      return OnPaint() ? 1 : 0;
    case WM_TIMER:
      OnTimer(static_cast<UINT>(wParam));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (!info) return 1;
      if (m_minSize.cx > 0) info->ptMinTrackSize.x = m_minSize.cx;
      if (m_minSize.cy > 0) info->ptMinTrackSize.y = m_minSize.cy;
      if (m_maxSize.cx > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = m_maxSize.cx;
      if (m_maxSize.cy > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = m_maxSize.cy;
      return 1;
    }
    case WM_NCDESTROY:
      DestroyData();
      return 1;
    case WM_NCACTIVATE:
      return OnNcActivate(static_cast<int>(wParam)) ? 1 : 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKeyDown(static_cast<UINT>(wParam), lParam) ? 1 : 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return OnKeyUp(static_cast<UINT>(wParam), lParam);
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // lParam is the child window that sent it; menus and accelerators send none.
      if (!lParam) return 0;
      return ::SendMessageW(reinterpret_cast<HWND>(lParam), msg + kReflectedOffset, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(static_cast<UINT>(wParam), MessagePoint(lParam)) ? 1 : 0;
    case WM_LBUTTONDOWN:
      return OnLButtonDown(static_cast<UINT>(wParam), MessagePoint(lParam)) ? 1 : 0;
    case WM_LBUTTONUP:
      return OnLButtonUp(static_cast<UINT>(wParam), MessagePoint(lParam)) ? 1 : 0;
    case WM_LBUTTONDBLCLK:
      return OnLButtonDblClk(static_cast<UINT>(wParam), MessagePoint(lParam)) ? 1 : 0;
    case WM_RBUTTONDOWN:
      return OnRButtonDown(static_cast<UINT>(wParam), MessagePoint(lParam)) ? 1 : 0;
    case WM_RBUTTONUP:
      return OnRButtonUp(static_cast<UINT>(wParam), MessagePoint(lParam)) ? 1 : 0;
    case WM_RBUTTONDBLCLK:
      return OnRButtonDblClk(static_cast<UINT>(wParam), MessagePoint(lParam)) ? 1 : 0;
    case WM_MOUSEWHEEL:
      return OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), MessagePoint(lParam)) ? 1 : 0;
    case WM_MOUSELEAVE:
      return OnMouseLeave() ? 1 : 0;
    default:
      return 0;
  }
}

int PaintManager::PreTranslateMessage(MSG* msg) {
  HandlerScope scope;
  if (!msg) return 0;
  switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      if (msg->wParam != VK_TAB) return 0;
      const UINT modifiers = GetKeyModifiers();
      MControl* candidate;
      if (modifiers == 0) {
        candidate = GetNextFocusableControl();
      } else if (modifiers == 0x10) {
        candidate = GetPrevFocusableControl();
      } else {
        return 0;
      }
      if (candidate == m_pFocus) return 0;
      SetFocusControl(candidate);
      return 1;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL:
      if (m_hTooltip) ::SendMessageW(m_hTooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
      return 0;
    default:
      return 0;
  }
}

UINT PaintManager::GetKeyModifiers() {
  UINT modifiers = 0;
  if (GetKeyState(VK_MENU) < 0) modifiers |= 0x12;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= 0x11;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= 0x10;
  return modifiers;
}

int PaintManager::OnMouseMove(UINT keys, CPoint pt) {
  HandlerScope scope;
  if (!m_bTracking) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, kHoverTime};
    m_bTracking = _TrackMouseEvent(&track) ? 1 : 0;
  }
  if (m_bDragPending && (keys & MK_LBUTTON)) {
    // The press armed a drag of the control's picture: it runs to its end right here.
    const bool leapt = std::abs(pt.x - m_dragStart.x) > 2 && std::abs(pt.y - m_dragStart.y) > 2;
    m_dragStart = POINT{pt.x, pt.y};
    if (!leapt) {
      StartDrag();  // gives the capture up and clears the pending drag and the press
      m_bCaptured = 0;
      m_bDragPending = 0;
      m_bPressed = 0;
      return 1;
    }
  }
  if (m_pHover) {
    // The hover control keeps the mouse while it is under it, or while it holds the press.
    const bool keeps = (m_pHover->PtInRect(pt) && m_pHover->OnCheckMouseResponse(keys, pt)) || m_bPressed;
    if (keeps && m_bTracking) {
      m_pHover->OnMouseMove(keys, pt);
      return 1;
    }
    ClearTooltip();
  }
  if (m_bPressed) return 1;
  if (!m_bTracking) {
    m_pHover = nullptr;
    return 1;
  }
  // Every control sees the move, so the one that loses the mouse drops its hover look; the
  // last one under the point wins.
  MControl* hover = nullptr;
  for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
    if (!Live(control)) continue;
    control->OnMouseMove(keys, pt);
    if (Live(control) && control->PtInRect(pt) && control->GetRresponse()) hover = control;
  }
  // A later handler may have removed the winner.
  m_pHover = Live(hover) ? hover : nullptr;
  return 1;
}

int PaintManager::OnMouseLeave() {
  HandlerScope scope;
  ClearTooltip();
  m_bTracking = 0;
  if (m_bPressed) return 1;
  MControl* hover = m_pHover;
  m_pHover = nullptr;
  if (hover) hover->OnMouseMove(0, kNowhere);
  return 1;
}

bool PaintManager::HoverTakesPress(UINT keys, CPoint pt) {
  if (m_pFocus && m_pFocus != m_pHover) {
    m_pFocus->SetControlFocus(0);
    m_pFocus = nullptr;
  }
  return m_pHover && m_pHover->IsVisible() && m_pHover->GetRresponse() && m_pHover->PtInRect(pt) &&
         m_pHover->OnCheckMouseResponse(keys, pt);
}

bool PaintManager::CaptureForPress(UINT keys, CPoint pt) {
  // The hover control is read again: the press handler may have changed it.
  if (m_bCaptured || (m_pHover && !m_pHover->OnCheckMouseResponse(keys, pt))) return false;
  SetCapture();
  m_bCaptured = 1;
  return true;
}

int PaintManager::OnLButtonDown(UINT keys, CPoint pt) {
  HandlerScope scope;
  if (HoverTakesPress(keys, pt)) {
    MControl* hover = m_pHover;
    if (hover->IsDragDrop() && hover->IsEnabled()) {
      m_bDragPending = 1;
      if (m_hDragBitmap) DeleteObject(m_hDragBitmap);
      m_hDragBitmap = hover->GetDropBitmap();
      if (!m_hDragBitmap) m_bDragPending = 0;
    }
    m_bPressed = 1;
    m_pFocus = hover;
    const int handled = hover->OnLButtonDown(keys, pt);
    if (CaptureForPress(keys, pt) || handled) return 1;
  }
  if (m_bWndDrag) {
    // The system's move loop swallows the release, so the capture flag goes with the capture.
    ReleaseCapture();
    m_bCaptured = 0;
    SendMessageW(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
  }
  return 1;
}

int PaintManager::ReleaseHover(Button button, UINT keys, CPoint pt) {
  HandlerScope scope;
  MControl* hover = m_pHover;
  if (!hover) return 1;
  if (!hover->IsVisible() || !hover->GetRresponse()) {
    m_pHover = nullptr;
    return 1;
  }
  const CRect before = hover->GetRect();
  switch (button) {
    case Button::LeftUp: hover->OnLButtonUp(keys, pt); break;
    case Button::LeftDblClk: hover->OnLButtonDblClk(keys, pt); break;
    case Button::RightUp: hover->OnRButtonUp(keys, pt); break;
    case Button::RightDblClk: hover->OnRButtonDblClk(keys, pt); break;
  }
  // The pointer left the control while the button was down: it no longer hovers.
  if (m_pHover == hover && !before.PtInRect(pt)) m_pHover = nullptr;
  return 1;
}

int PaintManager::OnLButtonUp(UINT keys, CPoint pt) {
  if (m_bCaptured) {
    ReleaseCapture();
    m_bCaptured = 0;
  }
  m_bPressed = 0;
  ReleaseHover(Button::LeftUp, keys, pt);
  m_bDragPending = 0;
  return 1;
}

int PaintManager::OnLButtonDblClk(UINT keys, CPoint pt) { return ReleaseHover(Button::LeftDblClk, keys, pt); }

int PaintManager::OnRButtonDown(UINT keys, CPoint pt) {
  HandlerScope scope;
  if (!HoverTakesPress(keys, pt)) return 0;
  MControl* hover = m_pHover;
  m_pFocus = hover;
  const int handled = hover->OnRButtonDown(keys, pt);
  return CaptureForPress(keys, pt) || handled ? 1 : 0;
}

int PaintManager::OnRButtonUp(UINT keys, CPoint pt) {
  if (m_bCaptured) {
    ReleaseCapture();
    m_bCaptured = 0;
  }
  return ReleaseHover(Button::RightUp, keys, pt);
}

int PaintManager::OnRButtonDblClk(UINT keys, CPoint pt) { return ReleaseHover(Button::RightDblClk, keys, pt); }

int PaintManager::OnNcActivate(int active) {
  HandlerScope scope;
  if (!active) {
    // A press cut short by deactivation ends with a release nowhere, so the control drops
    // its pressed look; otherwise a move nowhere drops the hover look.
    m_bTracking = 0;
    m_bCaptured = 0;
    m_bDragPending = 0;
    MControl* hover = m_pHover;
    m_pHover = nullptr;
    if (m_bPressed) {
      m_bPressed = 0;
      if (hover) hover->OnLButtonUp(0, kNowhere);
    } else if (hover) {
      hover->OnMouseMove(0, kNowhere);
    }
  }
  if (HasWindow()) {
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    InvalidateRect(client, 0);
  }
  return 1;
}

int PaintManager::OnMouseWheel(UINT, short delta, CPoint pt) {
  HandlerScope scope;
  if (HasWindow()) ::ScreenToClient(m_hWnd, &pt);
  const int notches = delta / kWheelNotch;
  const int steps = std::abs(notches);
  const UINT direction = notches <= 0 ? 1 : 0;  // 1: towards the user
  int handled = 0;
  for (int step = 0; step < steps; ++step) {
    if (m_pHover && m_pHover->OnScroll(1, direction, pt)) {
      handled = 1;
      continue;
    }
    for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
      if (Live(control) && control->OnScroll(1, direction, pt)) {
        handled = 1;
        break;
      }
    }
  }
  return handled;
}

int PaintManager::OnKeyDown(UINT vk, LPARAM) {
  HandlerScope scope;
  // Keys go to the control under the mouse, then to the first control that takes them; the
  // focus control is not consulted here (a control's own tree routes to its focused child).
  const UINT modifiers = GetKeyModifiers();
  if (m_pHover && m_pHover->OnKeyDown(vk, 1, modifiers)) return 1;
  for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
    if (Live(control) && control->OnKeyDown(vk, 1, modifiers)) break;
  }
  return 1;
}

int PaintManager::OnKeyUp(UINT, LPARAM) { return 0; }

MControl* PaintManager::GetNextFocusableControl() {
  CriticalSectionLock lock(m_controlLock);
  return FindFocusable(m_controls.begin(), m_controls.end(), m_pFocus, m_pHover);
}

MControl* PaintManager::GetPrevFocusableControl() {
  CriticalSectionLock lock(m_controlLock);
  return FindFocusable(m_controls.rbegin(), m_controls.rend(), m_pFocus, m_pHover);
}

void PaintManager::SetFocusControl(MControl* control) {
  if (control == m_pFocus) return;
  if (m_pFocus) m_pFocus->SetControlFocus(0);
  if (control) control->SetControlFocus(1);
  m_pFocus = control;
}

void PaintManager::SetTooltip(const wchar_t* text, CRect) {
  if (!text || !*text) {
    if (m_hTooltip) {
      TOOLINFOW info = ToolInfo(m_hWnd, TTF_PARSELINKS, L"");
      ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
      ::SendMessageW(m_hTooltip, TTM_ACTIVATE, FALSE, 0);
    }
    return;
  }
  if (!m_hTooltip) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    m_hTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, TOOLTIPS_CLASSW,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, m_hWnd, nullptr, GetLibraryModule(), nullptr);
    if (!m_hTooltip) return;
    ::SendMessageW(m_hTooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
    ::SendMessageW(m_hTooltip, TTM_SETTIPBKCOLOR, kTooltipBackground, 0);
    TOOLINFOW info = ToolInfo(m_hWnd, TTF_PARSELINKS, text);
    if (m_hWnd) ::GetClientRect(m_hWnd, &info.rect);
    ::SendMessageW(m_hTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    if (GetACP() == kSimplifiedChineseCodePage) {
      RECT margins = {2, 3, 0, 0};
      ::SendMessageW(m_hTooltip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    }
  } else {
    TOOLINFOW info = ToolInfo(m_hWnd, TTF_TRACK | TTF_ABSOLUTE | TTF_PARSELINKS, text);
    ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  }
  ::SendMessageW(m_hTooltip, TTM_ACTIVATE, TRUE, 0);
}

void PaintManager::ClearTooltip() {
  if (!m_hTooltip) return;
  TOOLINFOW info = ToolInfo(m_hWnd, TTF_PARSELINKS, L"");
  ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(m_hTooltip, TTM_ACTIVATE, FALSE, 0);
  m_tooltipCtrlId = 0;
}

int PaintManager::SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode) {
  if (!m_pAirBladder) m_pAirBladder = new MAirBladder();
  // Its window goes with the engine's window; an engine bound to a new window makes a new one.
  if (!::IsWindow(m_pAirBladder->GetSafeHwnd()) &&
      m_pAirBladder->Create(m_hWnd, L"AirBladder Window", kAirBladderStyle, 0, CRect())) {
    m_pAirBladder->LoadBKImage(L"img_tip_bk.png");
    m_pAirBladder->LoadArrowLImage(L"img_tip_arrow_left.png");
    m_pAirBladder->LoadArrowRImage(L"img_tip_arrow_right.png");
    m_pAirBladder->LoadArrowTImage(L"img_tip_arrow_top.png");
  }
  return m_pAirBladder->SetAirBladderMsg(text, pt, type, mode);
}

int PaintManager::ShowAirBladder(int show, int key) {
  if (!m_pAirBladder) return 0;
  if (key && show) m_airBladderKey = key;
  if (key && !show && key != m_airBladderKey) return 0;
  return m_pAirBladder->ShowWindow(show);
}

}  // namespace TESK
