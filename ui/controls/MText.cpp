#include "ui/controls/MText.h"

#include <memory>

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr UINT kRerenderingChild = 1;
// Gaps around the mark: it starts 2 px after the prefix, the suffix 2 px after it.
constexpr int kMarkGap = 2;
constexpr int kIconGap = 5;

void DrawPiece(Gdiplus::Graphics& g, const Gdiplus::Font& font, const CString& text, const Gdiplus::RectF& box,
               const Gdiplus::StringFormat& format, Gdiplus::ARGB colour) {
  if (box.Width <= 0) return;  // wholly right of the control
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  g.DrawString(text, text.GetLength(), &font, box, &format, &brush);
}

}  // namespace

MText::MText(MObject* owner, UINT id, CRect rect, const wchar_t* text, int visible)
    : MControlFont(owner, id, rect, text, visible, 0, 1),
      m_markColor(0xFFED801B),
      m_nMarkStart(0),
      m_bShadow(0),
      m_shadowColor(0xFF505050),
      m_bTextBack(0),
      m_textBackColor(0xFF008000),
      m_bMultiLine(0),
      m_bVCenter(0) {}

LRESULT MText::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  OnMessage(id, code, wParam, lParam);
  return 0;
}

LRESULT MText::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  if (id == kRerenderingChild && code == NOTIFY_CHANGING) RepaintIfVisible();
  return 0;
}

int MText::OnControlScroll(int, UINT, CPoint) { return 1; }

void MText::StoreMark(const wchar_t* text, const wchar_t* mark, Gdiplus::ARGB colour, int start) {
  if (text) m_strTitle = text;
  m_strMark = mark;
  m_markColor = colour;
  m_nMarkStart = start;
  RepaintIfVisible();
}

void MText::SetMarkText(const wchar_t* mark) {
  if (!mark || m_strMark == mark) return;
  StoreMark(nullptr, mark, m_markColor, m_nMarkStart);
}

void MText::SetMarkText(const wchar_t* mark, Gdiplus::Color colour, int start) {
  if (!mark || (m_strMark == mark && m_markColor == colour.GetValue() && m_nMarkStart == start)) return;
  StoreMark(nullptr, mark, colour.GetValue(), start);
}

void MText::SetMarkText(const wchar_t* text, const wchar_t* mark, Gdiplus::Color colour, int start) {
  if (!text || (!mark && m_strTitle == text)) return;
  const CString newMark(mark);
  if (m_strTitle == text && m_strMark == newMark && m_markColor == colour.GetValue() && m_nMarkStart == start) return;
  StoreMark(text, newMark, colour.GetValue(), start);
}

void MText::SetTitleMarkText(const wchar_t* text, const wchar_t* mark, int) {
  if (!text || (!mark && m_strTitle == text)) return;
  const CString newMark(mark);
  if (m_strTitle == text && m_strMark == newMark) return;
  StoreMark(text, newMark, m_markColor, m_nMarkStart);
}

void MText::EnableTextBack(int on, Gdiplus::Color colour) {
  if (on != m_bTextBack) {
    m_bTextBack = on;
    m_textBackColor = colour.GetValue();
  }
  RepaintIfVisible();
}

int MText::MarkPosition(const CString& text, const CString& mark, int start) {
  if (mark.IsEmpty() || start < 0 || start > text.GetLength()) return -1;
  return text.Find(mark, start);
}

void MText::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int w, int h) { RenderText(g, w, h); });
}

void MText::RenderText(Gdiplus::Graphics& g, int w, int h) {
  if (m_bTextBack) {
    Gdiplus::SolidBrush back{Gdiplus::Color(m_textBackColor)};
    g.FillRectangle(&back, 0, 0, w, h);
  }
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);

  int x0 = 0;
  if (m_pImage && m_nFrameWidth > 0) {
    g.DrawImage(m_pImage, Gdiplus::Rect(0, (h - m_nFrameHeight) / 2, m_nFrameWidth, m_nFrameHeight), 0, 0,
                m_nFrameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
    x0 = m_nFrameWidth + kIconGap;
  }

  if (m_strTitle.IsEmpty()) return;
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(m_bMultiLine
                                   ? Gdiplus::StringFormatFlagsNoClip | Gdiplus::StringFormatFlagsMeasureTrailingSpaces
                                   : Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, m_nAlignment, m_nVAlignment);
  if (m_bMultiLine && m_bVCenter) format.SetLineAlignment(Gdiplus::StringAlignmentCenter);

  const int p = MarkPosition(m_strTitle, m_strMark, m_nMarkStart);
  if (p < 0) {
    const float fx = static_cast<float>(x0), fw = static_cast<float>(w - x0), fh = static_cast<float>(h);
    if (m_bShadow) DrawPiece(g, *font, m_strTitle, Gdiplus::RectF(fx + 1, 1, fw, fh), format, m_shadowColor);
    DrawPiece(g, *font, m_strTitle, Gdiplus::RectF(fx, 0, fw, fh), format, m_textColor);
    return;
  }

  // Prefix, mark and suffix run one after the other from x0, each from its own left edge, on
  // the line where the unmarked text would lie.
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  const CString prefix = m_strTitle.Left(p);
  const CString suffix = m_strTitle.Mid(p + m_strMark.GetLength());
  const int prefixWidth = MRender::GetTextBounds(*font, format, prefix).Width;
  const int markWidth = MRender::GetTextBounds(*font, format, m_strMark).Width;
  const int markX = x0 + prefixWidth + kMarkGap;
  const int suffixX = markX + markWidth + kMarkGap;
  auto box = [w, h](int x, int y) {
    return Gdiplus::RectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w - x),
                          static_cast<float>(h));
  };
  if (m_bShadow) {
    DrawPiece(g, *font, prefix, box(x0 + 1, 1), format, m_shadowColor);
    DrawPiece(g, *font, m_strMark, box(markX + 1, 1), format, m_shadowColor);
  }
  DrawPiece(g, *font, prefix, box(x0, 0), format, m_textColor);
  DrawPiece(g, *font, m_strMark, box(markX, 0), format, m_markColor);
  if (m_bShadow) DrawPiece(g, *font, suffix, box(suffixX + 1, 1), format, m_shadowColor);
  DrawPiece(g, *font, suffix, box(suffixX, 0), format, m_textColor);
}

}  // namespace TESK
