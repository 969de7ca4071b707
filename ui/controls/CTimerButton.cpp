#include "ui/controls/CTimerButton.h"

#include "ui/controls/ButtonCells.h"
#include "ui/controls/ButtonInput.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kFrameSize = 4;
constexpr DWORD kCountdownMs = 10000;
constexpr DWORD kRefreshMs = 800;
constexpr Gdiplus::ARGB kFocusColour = 0xFE4CFF29;
constexpr int kFocusInsetX = 6;
constexpr int kFocusInsetY = 2;

}  // namespace

CTimerButton::CTimerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_nFrameSize(kFrameSize),
      m_bRun(0),
      m_dwStartTick(0),
      m_dwRefreshTick(0) {
  m_nAlignment = 1;
  m_bRunTimer = 1;
}

int CTimerButton::SetRun(int run) {
  if (!m_bEnabled) return m_bRun;
  m_bRun = run;
  m_dwRefreshTick = 0;
  m_dwStartTick = GetTickCount();
  UpdateControl(1, 0);
  return run;
}

int CTimerButton::OnControlTimer() {
  if (!m_bRun || !m_bVisible) return 0;
  const DWORD now = GetTickCount();
  if (now - m_dwRefreshTick <= kRefreshMs) return 1;
  m_dwRefreshTick = now;
  const bool ended = now - m_dwStartTick > kCountdownMs;
  if (ended) m_bRun = 0;
  UpdateControl(1, 0);
  if (ended) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

int CTimerButton::SetControlFocus(int focus) {
  if (!m_bEnabled) return 0;
  if (focus == m_bFocused) return 1;
  m_bFocused = focus;
  UpdateControl(1, 0);
  return 1;
}

void CTimerButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int CTimerButton::OnControlMouseMove(UINT, CPoint pt) {
  return ButtonInput::Move(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int CTimerButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ButtonInput::Press(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int CTimerButton::OnControlLButtonUp(UINT, CPoint pt) {
  const ButtonInput::Release release = ButtonInput::Up(*this, m_nState, pt);
  if (release == ButtonInput::Release::Click) {
    // A click ends the countdown; the caption goes back to the plain title.
    if (m_bRun) {
      m_bRun = 0;
      UpdateControl(1, 0);
    }
    SendMessageW(NOTIFY_CLICKED, 0, 0);
  }
  return release == ButtonInput::Release::Unchanged ? 0 : 1;
}

CString CTimerButton::Caption() const {
  if (!m_bRun) return m_strTitle;
  const int left = static_cast<int>(kCountdownMs / 1000) - static_cast<int>((GetTickCount() - m_dwStartTick) / 1000);
  CString caption;
  caption.Format(L"%s(%ds)", static_cast<const wchar_t*>(m_strTitle), left);
  return caption;
}

void CTimerButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const int w = m_rect.Width(), h = m_rect.Height();
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    const CString caption = Caption();
    Gdiplus::Pen dotted{Gdiplus::Color(kFocusColour), 1.0f};
    dotted.SetDashStyle(Gdiplus::DashStyleDot);
    for (int k = 0; k < kCells; ++k) {
      ButtonCells::DrawPlainCell(g, *this, font.get(), caption, k, m_nFrameSize, CRect());
      if (m_bFocused) {
        g.DrawRectangle(&dotted, k * w + kFocusInsetX, kFocusInsetY, w - 2 * kFocusInsetX, h - 2 * kFocusInsetY);
      }
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nState, kCells);
}

}  // namespace TESK
