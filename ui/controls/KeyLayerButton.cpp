#include "ui/controls/KeyLayerButton.h"

#include "ui/controls/ButtonCells.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

constexpr int kCells = 8;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kDimmed = 0xC8FFFFFF;

}  // namespace

KeyLayerButton::KeyLayerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : GroupButton(owner, id, rect, title, visible, enabled, &ToggleInput::EightCells, false, L"KeyLayerButton") {}

const wchar_t* KeyLayerButton::GetClassNameW() const { return L"KeyLayerButton"; }

void KeyLayerButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const Gdiplus::ARGB selected = Manager::m_select_color;
    const Gdiplus::ARGB colours[kCells] = {kWhite, kDimmed, kDimmed, kDimmed, selected, selected, kDimmed, kDimmed};
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) {
      ButtonCells::DrawTitle(g, *this, font.get(), m_strTitle, ButtonCells::Cell(*this, k), colours[k]);
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_toggle.state, kCells);
}

}  // namespace TESK
