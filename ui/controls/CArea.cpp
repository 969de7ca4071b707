#include "ui/controls/CArea.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {
constexpr BYTE kFillAlpha = 0xE6;
constexpr float kCornerRadius = 10.0f;
}  // namespace

CArea::CArea(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControl(owner, id, rect, visible, enabled, 1),
      m_fillColor(0xFFFFFF),
      m_nFrameWidth(0),
      m_frameColor(0xFE050505) {}

void CArea::SetTransparent(int first, int second, COLORREF colour) {
  m_transparency.first = first;
  m_transparency.second = second;
  m_fillColor = colour;
  UpdateControl(1, 0);
}

void CArea::SetFrame(int width, Gdiplus::Color colour, int) {
  m_nFrameWidth = width;
  m_frameColor = colour.GetValue();
  UpdateControl(1, 0);
}

void CArea::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int w, int h) {
    MRender::DrawRoundRectange(g, 0, 0, static_cast<float>(w), static_cast<float>(h), kCornerRadius,
                               Gdiplus::Color(ColorRefToArgb(m_fillColor, kFillAlpha)));
  });
}

}  // namespace TESK
