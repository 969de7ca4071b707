#include "ui/controls/MComboBox2.h"

namespace TESK {

namespace {

constexpr int kListExtra = 6;
constexpr int kTextInsetRight = 20;
// The arrow icon is centred in a strip this wide at the right edge.
constexpr int kArrowStrip = 20;

}  // namespace

MComboBox2::MComboBox2(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : ComboBoxBase(owner, id, rect, visible, enabled, kListExtra, kTextInsetRight) {}

void MComboBox2::DrawControl(HDC& dc, CRect) {
  const auto drawArrow = [this](Gdiplus::Graphics& g, const CRect& cell, int) {
    if (!m_pImage || m_nFrameWidth <= 0) return;
    const int fw = m_nFrameWidth, fh = m_nFrameHeight;
    const int x = cell.left + cell.Width() - (kArrowStrip - fw) / 2 - fw;
    const int y = (cell.Height() - fh) / 2;
    g.DrawImage(m_pImage, Gdiplus::Rect(x, y, fw, fh), 0, 0, fw, fh, Gdiplus::UnitPixel);
  };
  DrawFace(dc, drawArrow, m_rcText.left, m_rcText.right, m_nAlignment);
}

}  // namespace TESK
