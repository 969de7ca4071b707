#include "ui/keyboard/TachyonCtrl.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kFrame = 0xFF050505;
constexpr int kSlowSpeed = 2;
constexpr int kSlowPeriods = 10;
constexpr int kFastPeriods = 20;
// The wave's crests and troughs lie this far inside the top and bottom edges.
constexpr int kWaveInset = 30;
constexpr float kWavePen = 2.0f;

}  // namespace

TachyonCtrl::TachyonCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_periods(kSlowPeriods) {}

TachyonCtrl::~TachyonCtrl() = default;

void TachyonCtrl::SetTachyonSpeed(int speed) {
  m_periods = speed == kSlowSpeed ? kSlowPeriods : kFastPeriods;
  RepaintIfVisible();
}

void TachyonCtrl::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int w, int h) { RenderWave(g, w, h); });
}

void TachyonCtrl::RenderWave(Gdiplus::Graphics& g, int width, int height) {
  if (m_pImage) {
    g.DrawImage(m_pImage, Gdiplus::Rect(0, 0, width, height), 0, 0, m_nFrameWidth, m_nFrameHeight,
                Gdiplus::UnitPixel);
  }
  const Gdiplus::Pen frame{Gdiplus::Color(kFrame), 1.0f};
  g.DrawRectangle(&frame, 1, 1, width - 2, height - 2);
  const int step = width / m_periods;
  for (int k = 1; k <= m_periods; ++k) g.DrawLine(&frame, k * step, 1, k * step, height);

  const Gdiplus::Pen wave{Gdiplus::Color(Manager::m_select_color), kWavePen};
  const int crest = kWaveInset, trough = height - kWaveInset;
  for (int i = 0; i < m_periods; ++i) {
    const int y = i % 2 ? crest : trough;
    g.DrawLine(&wave, i * step, y, (i + 1) * step, y);
    if (i > 0) g.DrawLine(&wave, i * step, crest, i * step, trough);
  }
}

}  // namespace TESK
