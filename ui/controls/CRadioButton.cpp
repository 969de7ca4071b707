#include "ui/controls/CRadioButton.h"

#include "ui/controls/ButtonCells.h"

namespace TESK {

namespace {

constexpr int kCells = 8;

}  // namespace

CRadioButton::CRadioButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : GroupButton(owner, id, rect, title, visible, enabled, &ToggleInput::EightCells, false, L"") {
  m_nFrameCount = kCells;
}

const wchar_t* CRadioButton::GetClassNameW() const { return L"RadioButton"; }

void CRadioButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) ButtonCells::DrawRadioCell(g, *this, font.get(), k, k % 4 == 3);
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_toggle.state, kCells);
}

}  // namespace TESK
