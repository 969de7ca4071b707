#include "ui/controls/MButton.h"

#include "ui/controls/ButtonInput.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kFrameSize = 8;

}  // namespace

MButton::MButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_nFrameSize(kFrameSize) {
  m_nAlignment = 1;
}

int MButton::SetIconImage(const wchar_t* file, int frames) { return m_icon.Load(file, frames); }

void MButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int MButton::OnControlMouseMove(UINT, CPoint pt) {
  return ButtonInput::Move(*this, m_nState, pt, ButtonInput::Cursor::Hand);
}

int MButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ButtonInput::Press(*this, m_nState, pt, ButtonInput::Cursor::Hand);
}

int MButton::OnControlLButtonUp(UINT, CPoint pt) {
  return ButtonInput::Click(*this, m_nState, pt);
}

void MButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) ButtonCells::DrawPlainCell(g, *this, font.get(), m_strTitle, k, m_nFrameSize, m_rcText);
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nState, kCells);
}

}  // namespace TESK
