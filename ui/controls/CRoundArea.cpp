#include "ui/controls/CRoundArea.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {
// Below this size either way an area has no room for its corners or frame.
constexpr int kMinRoundedSize = 10;
}  // namespace

CRoundArea::CRoundArea(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControl(owner, id, rect, visible, enabled, 1),
      m_fillColor(0xC82B2B2B),
      m_bRound(1),
      m_nRadius(20),
      m_bFrame(0),
      m_frameColor(0xFF050505),
      m_nFrameWidth(1) {}

void CRoundArea::SetColor(Gdiplus::Color fill) {
  m_fillColor = fill.GetValue();
  UpdateControl(1, 0);
}

void CRoundArea::SetRound(int round) {
  m_bRound = round;
  UpdateControl(1, 0);
}

void CRoundArea::SetFrame(int on, Gdiplus::Color colour, int width) {
  m_bFrame = on;
  m_frameColor = colour.GetValue();
  m_nFrameWidth = width;
  UpdateControl(1, 0);
}

void CRoundArea::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int w, int h) {
    const Gdiplus::Color fill(m_fillColor), frame(m_frameColor);
    const float fw = static_cast<float>(m_nFrameWidth);
    // The frame is drawn inside the cell: its path runs fw in from the edges.
    const float inX = fw, inY = fw, inW = w - 2 * fw, inH = h - 2 * fw;
    if (m_bRound && w >= kMinRoundedSize && h >= kMinRoundedSize) {
      const float r = static_cast<float>(m_nRadius);
      if (m_bFrame) {
        MRender::DrawRoundRectange(g, inX, inY, inW, inH, r, frame, fw, fill);
      } else {
        MRender::DrawRoundRectange(g, 0, 0, static_cast<float>(w), static_cast<float>(h), r, fill);
      }
      return;
    }
    Gdiplus::SolidBrush brush(fill);
    g.FillRectangle(&brush, 0, 0, w, h);
    if (m_bFrame && !m_bRound) {
      Gdiplus::Pen pen(frame, fw);
      g.DrawRectangle(&pen, inX, inY, inW, inH);
    }
  });
}

}  // namespace TESK
