#include "ui/controls/UpgradeButton.h"

#include "ui/controls/ButtonCells.h"
#include "ui/controls/ButtonInput.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kFrameSize = 8;
constexpr int kBadgeSize = 16;
constexpr Gdiplus::ARGB kBadgeColour = 0xFFFF0000;
constexpr float kBadgeFontSize = 8.0f;

}  // namespace

UpgradeButton::UpgradeButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_nFrameSize(kFrameSize),
      m_nUpgradeStatus(0) {
  m_nAlignment = 1;
}

void UpgradeButton::SetUpgradeStatus(int status) {
  if (status == m_nUpgradeStatus) return;
  m_nUpgradeStatus = status;
  UpdateControl(1, 0);
}

void UpgradeButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int UpgradeButton::OnControlMouseMove(UINT, CPoint pt) {
  return ButtonInput::Move(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int UpgradeButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ButtonInput::Press(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int UpgradeButton::OnControlLButtonUp(UINT, CPoint pt) { return ButtonInput::Click(*this, m_nState, pt); }

void UpgradeButton::DrawBadge(Gdiplus::Graphics& g, int x0) {
  const int w = m_rect.Width();
  g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  Gdiplus::SolidBrush red{Gdiplus::Color(kBadgeColour)};
  g.FillEllipse(&red, x0 + w - kBadgeSize, 0, kBadgeSize, kBadgeSize);
  const auto font = ButtonCells::TitleFont(*this, kBadgeFontSize);
  ButtonCells::DrawTitle(g, *this, font.get(), L"1", CRect(CPoint(x0 + w - 15, 1), CSize(kBadgeSize, kBadgeSize)),
                         m_textColor);
}

void UpgradeButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const int w = m_rect.Width(), h = m_rect.Height();
    // A strip drawn for exactly this size is copied as it is, one frame to a cell.
    const bool exact = m_pImage && m_nFrameWidth == w && m_nFrameHeight == h;
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) {
      const CRect cell = ButtonCells::Cell(*this, k);
      if (exact) {
        const int frame = std::min(k, m_nFrameCount - 1);
        g.DrawImage(m_pImage, Gdiplus::Rect(cell.left, 0, w, h), frame * w, 0, w, h, Gdiplus::UnitPixel);
      } else {
        ButtonCells::DrawStripFrame(g, *this, k, cell, m_nFrameSize);
      }
      ButtonCells::DrawCellTitle(g, *this, font.get(), m_strTitle, k, CRect());
      if (m_nUpgradeStatus != 0) DrawBadge(g, cell.left);
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nState, kCells);
}

}  // namespace TESK
