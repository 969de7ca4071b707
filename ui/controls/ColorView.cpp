#include "ui/controls/ColorView.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr int kRows = 6;
constexpr int kColumns = 8;
constexpr int kSwatchSize = 22;
constexpr int kPitch = 28;
constexpr int kFirstLeft = 11;
constexpr int kFirstTop = 10;
constexpr Gdiplus::ARGB kPresets[kRows][kColumns] = {
    {0xFFB71C1C, 0xFF4A148D, 0xFF1B237E, 0xFF00579B, 0xFF014C40, 0xFF0E5204, 0xFFF67E17, 0xFFE65100},
    {0xFFD43030, 0xFF7B1FA2, 0xFF283492, 0xFF0178BB, 0xFF02685E, 0xFF056F01, 0xFFF9A824, 0xFFF06C00},
    {0xFFE63936, 0xFF8C25A7, 0xFF3949AC, 0xFF049AE6, 0xFF01796C, 0xFF229B25, 0xFFFBC12E, 0xFFF77C01},
    {0xFFEF5351, 0xFF9D27B0, 0xFF3F51B8, 0xFF42A5F5, 0xFF009688, 0xFF29B029, 0xFFFFEC3C, 0xFFFF9800},
    {0xFFE57373, 0xFFBA68C8, 0xFF7A87CB, 0xFF4FC4F7, 0xFF4DB5AB, 0xFF71D56E, 0xFFFFF177, 0xFFFFCC80},
    {0xFFEE9A9B, 0xFFCE92DB, 0xFFA0A8DA, 0xFF82D4FB, 0xFF7FCBC4, 0xFFA5E7A7, 0xFFFFF49D, 0xFFFFF4B2},
};
constexpr COLORREF kFirstPreset = 0x001C1CB7;
constexpr Gdiplus::ARGB kBackground = 0xFF1A1A1A;
constexpr Gdiplus::ARGB kOutline = 0xFF646464;
constexpr Gdiplus::ARGB kHighlight = 0xFFFBC93E;
constexpr float kCornerRadius = 8.0f;
constexpr float kSwatchPen = 2.0f;

}  // namespace

ColorView::ColorView(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_nHover(-1), m_nSelected(-1), m_selectColor(kFirstPreset) {}

void ColorView::InitColorView() {
  CriticalSectionLock lock(m_itemLock);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const LONG left = kFirstLeft + kPitch * c, top = kFirstTop + kPitch * r;
      m_items.push_back({kPresets[r][c], {left, top, left + kSwatchSize, top + kSwatchSize}});
    }
  }
}

void ColorView::ClearAllItem() {
  {
    CriticalSectionLock lock(m_itemLock);
    m_items.clear();
    m_nHover = m_nSelected = -1;
  }
  UpdateControl(1, 0);
}

int ColorView::GetItemCount() {
  CriticalSectionLock lock(m_itemLock);
  return static_cast<int>(m_items.size());
}

int ColorView::HitTest(CPoint pt) {
  CriticalSectionLock lock(m_itemLock);
  const CPoint local(pt.x - m_rect.left, pt.y - m_rect.top);
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (::PtInRect(&m_items[i].rect, local)) return static_cast<int>(i);
  }
  return -1;
}

int ColorView::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int old = m_nHover;
  if (!m_rect.PtInRect(pt)) {
    m_nHover = -1;
  } else {
    {
      CriticalSectionLock lock(m_itemLock);
      if (m_nHover >= 0 && m_nHover < static_cast<int>(m_items.size())) {
        const CPoint local(pt.x - m_rect.left, pt.y - m_rect.top);
        if (::PtInRect(&m_items[m_nHover].rect, local)) return 1;
      }
    }
    m_nHover = HitTest(pt);
  }
  if (m_nHover != old) UpdateControl(1, 0);
  return 1;
}

int ColorView::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

// No repaint: the clicked swatch is already drawn highlighted as the hovered one.
int ColorView::OnControlLButtonUp(UINT, CPoint) {
  if (!m_bEnabled) return 0;
  {
    CriticalSectionLock lock(m_itemLock);
    if (m_nHover < 0 || m_nHover >= static_cast<int>(m_items.size())) return 1;
    m_nSelected = m_nHover;
    m_selectColor = ArgbToColorRef(m_items[m_nSelected].colour);
  }
  SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

void ColorView::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, w, h);
    if (!m_hCacheDC) return;
    Gdiplus::Graphics g(m_hCacheDC);
    Gdiplus::SolidBrush background{Gdiplus::Color(kBackground)};
    g.FillRectangle(&background, 0, 0, w, h);
    Gdiplus::Pen outline{Gdiplus::Color(kOutline), 1.0f};
    g.DrawRectangle(&outline, 0, 0, w - 1, h - 1);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    CriticalSectionLock lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
      const Swatch& s = m_items[i];
      const bool marked = static_cast<int>(i) == m_nHover || static_cast<int>(i) == m_nSelected;
      MRender::DrawRoundRectange(g, static_cast<float>(s.rect.left), static_cast<float>(s.rect.top),
                                 static_cast<float>(s.rect.right - s.rect.left),
                                 static_cast<float>(s.rect.bottom - s.rect.top), kCornerRadius,
                                 Gdiplus::Color(marked ? kHighlight : s.colour), kSwatchPen, Gdiplus::Color(s.colour));
    }
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
