#include "ui/controls/MLevelCtrl.h"

#include <algorithm>

#include "ui/controls/PictureShow.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kSegmentColor = 0xFF687289;
constexpr Gdiplus::ARGB kLitColor = 0xFF596EFF;
constexpr int kDrawnGap = 2;
// Hit boxes step by the same pitch as the drawn segments but are 3 px narrower.
constexpr int kHitGap = 5;

}  // namespace

MLevelCtrl::MLevelCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nLevel(0),
      m_nMinLevel(1),
      m_nMaxLevel(15),
      m_nSegmentHeight(16) {}

void MLevelCtrl::SetLevelValue(int level) {
  level = std::max(m_nMinLevel, std::min(level, m_nMaxLevel));
  if (level == m_nLevel) return;
  m_nLevel = level;
  UpdateControl(1, 0);
}

int MLevelCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int n = SegmentCount();
  if (n <= 0 || !PtInRect(pt)) return 1;
  const int hitWidth = (m_rect.Width() - kHitGap * n) / n;
  for (int k = 0; k < n; ++k) {
    const CRect box(m_rect.left + k * (hitWidth + kHitGap), m_rect.top,
                    m_rect.left + k * (hitWidth + kHitGap) + hitWidth, m_rect.top + m_nSegmentHeight);
    if (!box.PtInRect(pt)) continue;
    const int level = m_nMinLevel + k;
    if (level != m_nLevel) {
      m_nLevel = level;
      UpdateControl(1, 0);
      SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(level), 0);
    }
    break;
  }
  return 1;
}

void MLevelCtrl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    const int n = SegmentCount();
    if (n > 0) {
      Gdiplus::Graphics g(m_hCacheDC);
      Gdiplus::SolidBrush segment{Gdiplus::Color(kSegmentColor)};
      Gdiplus::SolidBrush lit{Gdiplus::Color(kLitColor)};
      const int segmentWidth = (w - kDrawnGap * n) / n;
      int x = 0;
      for (int level = m_nMinLevel; level <= m_nMaxLevel; ++level, x += segmentWidth + kDrawnGap) {
        g.FillRectangle(&segment, x, 0, segmentWidth, m_nSegmentHeight);
        if (m_nLevel >= level) g.FillRectangle(&lit, x, 1, segmentWidth, m_nSegmentHeight - 2);
      }
    }
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
