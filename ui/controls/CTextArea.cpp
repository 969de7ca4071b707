#include "ui/controls/CTextArea.h"

#include "ui/controls/SurfaceCell.h"

namespace TESK {

CTextArea::CTextArea(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_backColor(0xFFFFFF),
      m_bFrame(0),
      m_frameColor(0xFF050505) {}

void CTextArea::SetTransparent(int first, int second, COLORREF colour) {
  m_transparency.first = first;
  m_transparency.second = second;
  m_backColor = colour;
  UpdateControl(1, 0);
}

void CTextArea::SetFrame(int on, Gdiplus::Color colour, int) {
  m_bFrame = on;
  m_frameColor = colour.GetValue();
  UpdateControl(1, 0);
}

void CTextArea::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int w, int h) {
    Gdiplus::SolidBrush back{Gdiplus::Color(ColorRefToArgb(m_backColor, 0xFF))};
    if (m_bFrame) {
      Gdiplus::SolidBrush frame{Gdiplus::Color(m_frameColor)};
      g.FillRectangle(&frame, 0, 0, w, h);
      g.FillRectangle(&back, 1, 1, w - 2, h - 2);
    } else {
      g.FillRectangle(&back, 0, 0, w, h);
    }
    DrawTitleText(g, m_strTitle, Gdiplus::RectF(0, 0, static_cast<float>(w), static_cast<float>(h)),
                  Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces,
                  m_textRenderingHint, DT_CENTER, DT_VCENTER, m_textColor);
  });
}

}  // namespace TESK
