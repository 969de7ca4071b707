#include "ui/controls/CHelpButton.h"

#include "ui/controls/ButtonCells.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr AIRBLADDER_TYPE kBalloonType = static_cast<AIRBLADDER_TYPE>(5);
constexpr AIRBLADDER_MODE kDefaultMode = static_cast<AIRBLADDER_MODE>(2);
constexpr int kModeLeft = 2;
constexpr int kAnchorRight = 20;
constexpr int kAnchorLeft = -2;

}  // namespace

CHelpButton::CHelpButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1), m_balloonMode(kDefaultMode) {
  m_nFrameCount = 1;
}

int CHelpButton::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_strTitle.IsEmpty() || !m_pManager) return 0;
  if (!m_rect.PtInRect(pt)) {
    // The key keeps a balloon that another control showed since.
    m_pManager->ShowAirBladder(0, static_cast<int>(m_id));
    return 0;
  }
  POINT anchor = {m_rect.left + (m_balloonMode == kModeLeft ? kAnchorLeft : kAnchorRight), m_rect.top};
  ::ClientToScreen(m_pManager->GetPaintWnd(), &anchor);
  m_pManager->SetAirBladderMsg(m_strTitle, anchor, kBalloonType, m_balloonMode);
  m_pManager->ShowAirBladder(1, static_cast<int>(m_id));
  return 1;
}

void CHelpButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, 1) && m_pImage) {
    Gdiplus::Graphics g(m_hCacheDC);
    g.DrawImage(m_pImage, Gdiplus::Rect(0, 0, m_rect.Width(), m_rect.Height()), 0, 0,
                static_cast<INT>(m_pImage->GetWidth()), static_cast<INT>(m_pImage->GetHeight()), Gdiplus::UnitPixel);
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, 0, 1);
}

}  // namespace TESK
