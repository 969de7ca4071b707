#include "ui/controls/CColorCombo.h"

#include <algorithm>

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kDisabledCell = 3;
constexpr Gdiplus::ARGB kFrame = 0xFE050505;
constexpr Gdiplus::ARGB kDisabledFrame = 0xFE808080;
constexpr Gdiplus::ARGB kStrike = 0xFEFF0000;

}  // namespace

CColorCombo::CColorCombo(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_areaColour(0xFEFFFF00), m_nState(0) {}

void CColorCombo::SetAreaColor(Gdiplus::Color colour) {
  m_areaColour = colour.GetValue();
  UpdateControl(1, 0);
}

void CColorCombo::ShowState(int state) {
  if (state == m_nState) return;
  m_nState = state;
  UpdateControl(0, 0);
}

void CColorCombo::SetControlEnabled(int enabled) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  m_nState = enabled ? 0 : kDisabledCell;
  UpdateControl(1, 0);
}

int CColorCombo::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_nState == 2) return 0;
  const int old = m_nState;
  ShowState(m_rect.PtInRect(pt) ? 1 : 0);
  return m_nState != old;
}

int CColorCombo::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  const int old = m_nState;
  ShowState(2);
  SendMessageW(NOTIFY_PRESSED, 0, 0);
  return m_nState != old;
}

// A release outside keeps the pressed look until a release inside.
int CColorCombo::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  const int old = m_nState;
  ShowState(1);
  SendMessageW(NOTIFY_CLICKED, 0, 0);
  return m_nState != old;
}

void CColorCombo::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PrepareCells(dc, kCells)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    Gdiplus::SolidBrush area{Gdiplus::Color(m_areaColour)};
    for (int i = 0; i < kCells; ++i) {
      const int x = i * w;
      g.FillRectangle(&area, x, 0, w, h);
      Gdiplus::Pen frame{Gdiplus::Color(i == kDisabledCell ? kDisabledFrame : kFrame)};
      g.DrawRectangle(&frame, x, 0, w - 1, h - 1);
    }
    Gdiplus::Pen strike{Gdiplus::Color(kStrike)};
    g.DrawLine(&strike, kDisabledCell * w, h - 1, kDisabledCell * w + w - 1, 0);
  }
  ShowCell(dc, std::max(0, std::min(kCells - 1, m_nState)));
}

}  // namespace TESK
