#include "ui/controls/MImageButton.h"

#include "ui/controls/ButtonCells.h"
#include "ui/controls/ButtonInput.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr Gdiplus::ARGB kHoverColour = 0xFF687389;
constexpr Gdiplus::ARGB kDownColour = 0xFF596EFF;
constexpr float kHighlightRadius = 2.0f;

}  // namespace

MImageButton::MImageButton(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_hoverFill(kHoverColour),
      m_hoverFrame(kHoverColour),
      m_downFill(kDownColour),
      m_downFrame(kDownColour) {}

void MImageButton::SetHoverColor(Gdiplus::Color fill, Gdiplus::Color frame) {
  m_hoverFill = fill.GetValue();
  m_hoverFrame = frame.GetValue();
}

void MImageButton::SetDownColor(Gdiplus::Color fill, Gdiplus::Color frame) {
  m_downFill = fill.GetValue();
  m_downFrame = frame.GetValue();
}

void MImageButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int MImageButton::OnControlMouseMove(UINT, CPoint pt) {
  return ButtonInput::Move(*this, m_nState, pt, ButtonInput::Cursor::Hand);
}

int MImageButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ButtonInput::Press(*this, m_nState, pt, ButtonInput::Cursor::Hand);
}

int MImageButton::OnControlLButtonUp(UINT, CPoint pt) {
  return ButtonInput::Click(*this, m_nState, pt);
}

void MImageButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const int w = m_rect.Width(), h = m_rect.Height();
    m_rcImage = CRect(CPoint((w - m_nFrameWidth) / 2, (h - m_nFrameHeight) / 2), CSize(m_nFrameWidth, m_nFrameHeight));
    Gdiplus::Graphics g(m_hCacheDC);
    const struct {
      int cell;
      Gdiplus::ARGB fill, frame;
    } highlights[] = {{BUTTON_HOVER, m_hoverFill, m_hoverFrame}, {BUTTON_DOWN, m_downFill, m_downFrame}};
    for (const auto& light : highlights) {
      MRender::DrawRoundRectange(g, static_cast<float>(light.cell * w + 1), 1.0f, static_cast<float>(w - 2),
                                 static_cast<float>(h - 2), kHighlightRadius, Gdiplus::Color(light.frame), 1.0f,
                                 Gdiplus::Color(light.fill));
    }
    for (int k = 0; k < kCells && m_pImage; ++k) {
      g.DrawImage(m_pImage, Gdiplus::Rect(k * w + m_rcImage.left, m_rcImage.top, m_nFrameWidth, m_nFrameHeight), 0,
                  0, m_nFrameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nState, kCells);
}

}  // namespace TESK
