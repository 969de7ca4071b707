#include "ui/core/MAirBladder.h"

#include <algorithm>

#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr UINT kHideTimer = 10;
constexpr UINT kHideAfterMs = 5000;
constexpr int kNoAutoHideType = 4;
constexpr int kCentredMode = 4;
constexpr int kStickyMode = 5;
constexpr float kFontPixels = 14.0f;

}  // namespace

MAirBladder::MAirBladder()
    : MTipWindow(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear),
      m_anchor{0, 0},
      m_type(static_cast<AIRBLADDER_TYPE>(1)),
      m_mode(static_cast<AIRBLADDER_MODE>(3)),
      m_pFontFamily(nullptr),
      m_lineCount(1) {}

MAirBladder::~MAirBladder() { delete m_pFontFamily; }

int MAirBladder::OnInitDialog() {
  LoadTempFont();
  return 1;
}

int MAirBladder::OnKillFocus(MWindow*) { return HideOnFocusLoss(m_mode == kStickyMode); }

int MAirBladder::LoadArrowLImage(CString file) { return m_arrowLeft.LoadSkin(file); }
int MAirBladder::LoadArrowLImage(UINT id, CString type) { return m_arrowLeft.LoadResource(id, type); }
int MAirBladder::LoadArrowRImage(CString file) { return m_arrowRight.LoadSkin(file); }
int MAirBladder::LoadArrowRImage(UINT id, CString type) { return m_arrowRight.LoadResource(id, type); }
int MAirBladder::LoadArrowTImage(CString file) { return m_arrowTop.LoadSkin(file); }
int MAirBladder::LoadArrowTImage(UINT id, CString type) { return m_arrowTop.LoadResource(id, type); }

int MAirBladder::SetAirBladderMsg(const wchar_t* text, POINT anchor, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode) {
  if (!text) return 0;
  if (m_text == text && m_anchor.x == anchor.x && m_anchor.y == anchor.y && m_type == type && m_mode == mode) return 1;
  m_pFormat->SetAlignment(Gdiplus::StringAlignmentNear);
  m_pFormat->SetLineAlignment(Gdiplus::StringAlignmentNear);
  m_text = text;
  m_anchor = anchor;
  m_type = type;
  m_mode = mode;
  AutoFit();
  if (m_type != kNoAutoHideType && IsLive()) SetTimer(kHideTimer, kHideAfterMs, nullptr);
  return 1;
}

CRect MAirBladder::FitRect(int mode, POINT anchor, int width, int textHeight) {
  const int x = anchor.x;
  const int y = anchor.y;
  const int w = width;
  const int t = textHeight;
  CRect rect;
  switch (mode) {
    case 1: rect = CRect(x, y, x + w + 40, y + t + 20); break;
    case 2: rect = CRect(x - w - 40, y - 27, x, y + t - 7); break;
    case 3: rect = CRect(x - 25, y, x + w + 15, y + t + 30); break;
    case 4: {
      const int left = x - (w + 30) / 2;
      rect = CRect(left, y - t - 20, left + w + 30, y);
      break;
    }
    case 5: rect = CRect(x, y - 10, x + w + 40, y + t - 45); break;
    default: return CRect();
  }
  // A text shorter than its mode assumes gives an empty window, never a negative one.
  rect.bottom = std::max(rect.bottom, rect.top);
  return rect;
}

int MAirBladder::LineHeight(Gdiplus::Font& font) const { return static_cast<int>(font.GetHeight(96.0f)); }

void MAirBladder::AutoFit() {
  if (m_text.IsEmpty() || !m_pFontFamily) return;
  Gdiplus::Font font(m_pFontFamily, kFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  const int width = MRender::GetTextBounds(font, *m_pFormat, m_text).Width;
  const int lineHeight = LineHeight(font);
  const wchar_t* text = m_text.GetString();
  const int lines = 1 + static_cast<int>(std::count(text, text + m_text.GetLength(), L'\n'));
  if (lines == 1 || m_mode == kCentredMode) {
    m_pFormat->SetAlignment(Gdiplus::StringAlignmentCenter);
    m_pFormat->SetLineAlignment(Gdiplus::StringAlignmentCenter);
  }
  m_lineCount = m_mode == kStickyMode ? std::max(lines - 2, 0) : lines;
  const CRect rect = FitRect(m_mode, m_anchor, width, lines * lineHeight);
  if (IsLive()) {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    OnPaint();
  }
}

int MAirBladder::OnPaint() {
  PaintClient([this](HDC dc, int w, int h) {
    SetBkMode(dc, TRANSPARENT);
    Gdiplus::Graphics g(dc);
    if (m_background) {
      MRender::DrawImageFrame(g, m_background.image(), CRect(0, 0, w - 1, h - 1), 0, 0, m_background.width(),
                              m_background.height(), 6);
    }
    if (m_text.IsEmpty() || !m_pFontFamily) return;
    Gdiplus::Font font(m_pFontFamily, kFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    const int lineHeight = LineHeight(font);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
    const float textHeight = static_cast<float>(m_lineCount * lineHeight);
    const Gdiplus::RectF layout(8.0f, (h - textHeight) * 0.5f + m_lineCount - 1, static_cast<float>(std::max(w - 16, 0)),
                                textHeight + 2.0f);
    g.DrawString(m_text, m_text.GetLength(), &font, layout, m_pFormat, &white);
  }, true);
  return 1;
}

void MAirBladder::LoadTempFont() {
  if (!m_pFontFamily) m_pFontFamily = NewEmbeddedFontFamily();
}

}  // namespace TESK
