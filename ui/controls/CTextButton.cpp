#include "ui/controls/CTextButton.h"

#include "ui/controls/ButtonCells.h"
#include "ui/controls/ButtonInput.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr Gdiplus::ARGB kAccent = 0xFF3769FA;
// Room the horizontal offsets leave beside the measured text.
constexpr int kTextMargin = 6;
constexpr int kTextTop = 2;

}  // namespace

CTextButton::CTextButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_hoverColor(kAccent),
      m_downColor(kAccent),
      m_disabledColor(ButtonCells::kDisabledText) {}

void CTextButton::SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down,
                                     Gdiplus::Color disabled) {
  SetTextColor(normal);
  m_hoverColor = hover.GetValue();
  m_downColor = down.GetValue();
  m_disabledColor = disabled.GetValue();
  UpdateControl(1, 0);
}

void CTextButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int CTextButton::OnControlMouseMove(UINT, CPoint pt) {
  return ButtonInput::Move(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int CTextButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ButtonInput::Press(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int CTextButton::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const bool inside = m_rect.PtInRect(pt) != 0;
  // This button reports the click first, then takes the hover state.
  if (inside && m_nState == BUTTON_DOWN) {
    SendMessageW(NOTIFY_CLICKED, 0, 0);
    // The owner may have removed the button meanwhile: it then asks for nothing more.
    if (IsRemoved()) return 0;
  }
  return ButtonInput::Change(*this, m_nState, inside ? BUTTON_HOVER : BUTTON_NORMAL);
}

void CTextButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const auto font = ButtonCells::TitleFont(*this);
    if (font && !m_strTitle.IsEmpty()) {
      const int w = m_rect.Width(), h = m_rect.Height();
      const Gdiplus::Size text = ButtonCells::MeasureTitle(*font, m_strTitle);
      // The horizontal placement leaves a margin beside the text.
      const CPoint offset = MRender::GetOriginPoint(w - kTextMargin, h, text.Width, text.Height, m_nAlignment,
                                                    m_nVAlignment);
      const int ox = offset.x, oy = offset.y;
      const Gdiplus::ARGB colours[kCells] = {m_textColor, m_hoverColor, m_downColor, m_disabledColor};
      Gdiplus::Graphics g(m_hCacheDC);
      g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
      for (int k = 0; k < kCells; ++k) {
        CRect box(CPoint(k * w + ox, oy + kTextTop), CSize(w - ox, text.Height));
        if (k == BUTTON_DOWN) box.OffsetRect(ButtonCells::kPressedShift, ButtonCells::kPressedShift);
        ButtonCells::DrawText(g, font.get(), m_strTitle, box, colours[k], Gdiplus::StringAlignmentNear,
                              Gdiplus::StringAlignmentNear);
      }
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nState, kCells);
}

}  // namespace TESK
