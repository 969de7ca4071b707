#include "ui/controls/CLogonEdit.h"

#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kLineColour = 0xFE898989;
constexpr INT kLabelFormatFlags = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
constexpr int kLabelHeight = 16;
constexpr int kSmallLabel = 9;
constexpr int kLargeLabel = 14;
constexpr int kTopPadding = 14;
constexpr int kBottomPadding = 5;

}  // namespace

CLogonEdit::CLogonEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int other)
    : MRichEdit(owner, id, rect, tip, visible, other) {
  m_lWinStyle = WS_HSCROLL | ES_AUTOHSCROLL;
  m_nFontWidth = 16;
  m_rcTextPadding = RECT{50, 16, 5, 5};
}

void CLogonEdit::SetControlRect(CRect rect) {
  m_rect = rect;
  if (!m_pHost) return;
  m_rcTextPadding.top = kTopPadding;
  m_rcTextPadding.bottom = kBottomPadding;
  LayoutTextArea(CRect(rect.left + m_rcTextPadding.left, rect.top + kTopPadding, rect.right - m_rcTextPadding.right,
                       rect.bottom - kBottomPadding),
                 false, m_nScrollThickness);
}

int CLogonEdit::OnControlMouseMove(UINT, CPoint) { return 0; }

void CLogonEdit::DrawLabel(Gdiplus::Graphics& g, int w, int h) {
  if (m_strTip.IsEmpty()) return;
  const bool filled = !m_strTitle.IsEmpty();
  FallbackFontFamily fallback;
  Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)),
                     static_cast<Gdiplus::REAL>(filled ? kSmallLabel : kLargeLabel), m_nFontStyle, Gdiplus::UnitPixel);
  const RECT& pad = m_rcTextPadding;
  const Gdiplus::PointF at = filled ? Gdiplus::PointF(2, 0)
                                    : Gdiplus::PointF(static_cast<Gdiplus::REAL>(pad.left),
                                                      static_cast<Gdiplus::REAL>(
                                                          (h - pad.top - pad.bottom - kLabelHeight) / 2 + pad.top + 1));
  const Gdiplus::RectF box(at.X, at.Y, static_cast<Gdiplus::REAL>(w - 60), static_cast<Gdiplus::REAL>(kLabelHeight));
  Gdiplus::StringFormat format(kLabelFormatFlags);
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::SolidBrush brush{Gdiplus::Color(kLineColour)};
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  g.DrawString(m_strTip, -1, &font, box, &format, &brush);
}

void CLogonEdit::DrawControl(HDC& dc, CRect update) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, w, h);
    if (!m_hCacheDC) return;
    ::BitBlt(m_hCacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top, SRCCOPY);
    Gdiplus::Graphics g(m_hCacheDC);
    if (m_pIconImage && m_pIconImage->GetLastStatus() == Gdiplus::Ok) {
      g.DrawImage(m_pIconImage, 5, 16, m_nIconFrameWidth, m_nIconHeight);
    }
    Gdiplus::Pen line{Gdiplus::Color(kLineColour), 1};
    g.DrawLine(&line, 0, h - 1, w, h - 1);
    DrawLabel(g, w, h);
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
  DrawEngineText(dc, update);
}

}  // namespace TESK
