#include "ui/controls/CImageButton.h"

#include "ui/controls/ButtonInput.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kHighlightInset = 3;
constexpr float kHighlightRadius = 6.0f;
constexpr AIRBLADDER_TYPE kBalloonType = static_cast<AIRBLADDER_TYPE>(5);
constexpr int kAnchorRight = 1;
constexpr int kAnchorLeft = 2;

}  // namespace

CImageButton::CImageButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(owner, id, rect, title, visible, enabled), m_balloonMode(static_cast<AIRBLADDER_MODE>(0)) {}

int CImageButton::OnControlMouseMove(UINT keys, CPoint pt) {
  if (!MButton::OnControlMouseMove(keys, pt)) return 0;
  UpdateBalloon();
  return 1;
}

void CImageButton::UpdateBalloon() {
  if (m_balloonMode == 0 || m_strTitle.IsEmpty() || !m_pManager) return;
  if (m_nState != BUTTON_HOVER) {
    if (MAirBladder* balloon = m_pManager->GetAirBladder()) balloon->ShowWindow(SW_HIDE);
    return;
  }
  POINT anchor = {0, m_rect.top + m_rect.Height() / 2};
  if (m_balloonMode == kAnchorRight) anchor.x = m_rect.right;
  if (m_balloonMode == kAnchorLeft) anchor.x = m_rect.left;
  ::ClientToScreen(m_pManager->GetPaintWnd(), &anchor);
  m_pManager->SetAirBladderMsg(m_strTitle, anchor, kBalloonType, m_balloonMode);
  if (MAirBladder* balloon = m_pManager->GetAirBladder()) balloon->ShowWindow(SW_SHOW);
}

void CImageButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const int w = m_rect.Width(), h = m_rect.Height();
    Gdiplus::Graphics g(m_hCacheDC);
    for (int k = 0; k < kCells && m_pImage; ++k) {
      const int x0 = k * w;
      if (m_nFrameCount == 1) {
        if (k == BUTTON_HOVER || k == BUTTON_DOWN) {
          MRender::DrawRoundRectange(g, static_cast<float>(x0 + kHighlightInset), static_cast<float>(kHighlightInset),
                                     static_cast<float>(w - 2 * kHighlightInset),
                                     static_cast<float>(h - 2 * kHighlightInset), kHighlightRadius,
                                     Gdiplus::Color(Manager::m_down_color), 1.0f,
                                     Gdiplus::Color(Manager::m_normal_color));
        }
        g.DrawImage(m_pImage, Gdiplus::Rect(x0 + (w - m_nFrameWidth) / 2, (h - m_nFrameHeight) / 2, m_nFrameWidth,
                                            m_nFrameHeight),
                    0, 0, m_nFrameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
      } else {
        const int frame = std::min(k, m_nFrameCount - 1);
        g.DrawImage(m_pImage, Gdiplus::Rect(x0, 0, m_nFrameWidth, m_nFrameHeight), frame * m_nFrameWidth, 0,
                    m_nFrameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
      }
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nState, kCells);
}

}  // namespace TESK
