#include "ui/controls/CIconButton.h"

#include "ui/controls/ButtonInput.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kFrameSize = 4;
constexpr int kCorner = 10;
constexpr int kIconLeft = 10;

}  // namespace

CIconButton::CIconButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_nFrameSize(kFrameSize) {
  m_nAlignment = 1;
}

int CIconButton::SetIconImage(const wchar_t* file, int frames) { return m_icon.Load(file, frames); }

void CIconButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int CIconButton::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const bool inside = m_rect.PtInRect(pt) != 0;
  ButtonInput::SetCursorFor(inside);
  return ButtonInput::Change(*this, m_nState, inside ? BUTTON_HOVER : BUTTON_NORMAL);
}

int CIconButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ButtonInput::Press(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int CIconButton::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const bool inside = m_rect.PtInRect(pt) != 0;
  const int changed = ButtonInput::Change(*this, m_nState, inside ? BUTTON_DOWN : BUTTON_NORMAL);
  if (inside) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return changed;
}

void CIconButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const int h = m_rect.Height();
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) {
      const CRect cell = ButtonCells::Cell(*this, k);
      ButtonCells::DrawStripFrame(g, *this, k, cell, kCorner);
      if (m_strTitle.IsEmpty()) continue;
      if (Gdiplus::Image* icon = m_icon.Image()) {
        g.DrawImage(icon, Gdiplus::Rect(cell.left + kIconLeft, (h - m_icon.Height()) / 2, m_icon.FrameWidth(),
                                        m_icon.Height()),
                    0, 0, m_icon.FrameWidth(), m_icon.Height(), Gdiplus::UnitPixel);
      }
      CRect box = cell;
      if (!m_rcText.IsRectEmpty()) {
        box = m_rcText;
        box.OffsetRect(cell.left, 0);
        if (k == BUTTON_DOWN) box.OffsetRect(ButtonCells::kPressedShift, ButtonCells::kPressedShift);
      }
      ButtonCells::DrawTitle(g, *this, font.get(), m_strTitle, box, m_textColor);
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nState, kCells);
}

}  // namespace TESK
