#include "ui/controls/TextCheckButton.h"

#include "ui/controls/ButtonCells.h"

namespace TESK {

namespace {

constexpr int kCells = 8;
constexpr Gdiplus::ARGB kText = 0xFEFFFFFF;
constexpr Gdiplus::ARGB kAccent = 0xFEC95100;
constexpr Gdiplus::ARGB kDisabled = 0xFE808080;

}  // namespace

TextCheckButton::TextCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_toggle(&ToggleInput::EightCells),
      m_hoverColor(kAccent),
      m_checkedColor(kAccent),
      m_disabledColor(kDisabled) {
  m_nFrameCount = kCells;
  m_bTabStop = 1;
  m_toggle.state = enabled ? 0 : 3;
  SetTextColor(Gdiplus::Color(kText));
}

void TextCheckButton::SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color checked,
                                         Gdiplus::Color disabled) {
  SetTextColor(normal);
  m_hoverColor = hover.GetValue();
  m_checkedColor = checked.GetValue();
  m_disabledColor = disabled.GetValue();
}

int TextCheckButton::SetCheck(int check) { return ToggleInput::SetCheck(*this, m_toggle, check); }

int TextCheckButton::SetControlFocus(int focus) { return ToggleInput::Focus(*this, m_bFocused, focus); }

void TextCheckButton::SetControlEnabled(int enabled) { ToggleInput::Enable(*this, m_toggle, enabled); }

int TextCheckButton::OnControlMouseMove(UINT, CPoint pt) { return ToggleInput::Move(*this, m_toggle, pt); }

int TextCheckButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ToggleInput::Press(*this, m_toggle, pt, m_bFocused);
}

int TextCheckButton::OnControlLButtonUp(UINT, CPoint pt) {
  return ToggleInput::ToggleOnRelease(*this, m_toggle, ToggleInput::Up(*this, m_toggle, pt));
}

int TextCheckButton::OnControlKeyDown(UINT key, UINT count, UINT modifiers) {
  if (!ToggleInput::KeyCounts(*this, m_bFocused, key, count, modifiers)) return 0;
  SetCheck(m_toggle.check ? 0 : 1);
  SendMessageW(NOTIFY_CHECKED, 0, m_toggle.check);
  return 1;
}

void TextCheckButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const Gdiplus::ARGB colours[kCells] = {m_textColor,  m_hoverColor, m_checkedColor, m_disabledColor,
                                           m_checkedColor, m_hoverColor, m_textColor,   m_disabledColor};
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) {
      CRect cell = ButtonCells::Cell(*this, k);
      if (m_pImage) ButtonCells::DrawStripFrameAt(g, *this, k, cell.left, (cell.Height() - m_nFrameHeight) / 2);
      if (k == 2) cell.OffsetRect(ButtonCells::kPressedShift, ButtonCells::kPressedShift);
      ButtonCells::DrawTitle(g, *this, font.get(), m_strTitle, cell, colours[k]);
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_toggle.state, kCells);
}

}  // namespace TESK
