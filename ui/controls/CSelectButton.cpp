#include "ui/controls/CSelectButton.h"

#include "ui/controls/ButtonCells.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr Gdiplus::ARGB kText = 0xFEFFFFFF;

}  // namespace

CSelectButton::CSelectButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : GroupButton(owner, id, rect, title, visible, enabled, &ToggleInput::SelectCells, true, L"") {
  m_nFrameCount = kCells;
  SetTextColor(Gdiplus::Color(kText));
}

const wchar_t* CSelectButton::GetClassNameW() const { return L"CSelectButton"; }

void CSelectButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) ButtonCells::DrawRadioCell(g, *this, font.get(), k, k == 3);
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_toggle.state, kCells);
}

}  // namespace TESK
