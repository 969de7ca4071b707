#include "ui/core/MControlFont.h"

#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/NativeEdit.h"
#include "ui/core/PaintManager.h"

namespace TESK {

MControlFont::MControlFont(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
                           int response)
    : MControl(parent, id, rect, visible, enabled, response),
      m_strTitle(title),
      m_strFontName(Manager::GetFontName()),
      m_nFontWidth(Manager::GetFontWidth()),
      m_textColor(0xFF3F4440),
      m_statusColor1(0xFF3F4440),
      m_statusColor2(0xFF3F4440),
      m_statusColor3(0xFF3F4440),
      m_pTextBrush(new Gdiplus::SolidBrush(Gdiplus::Color(0xFF3F4440))),
      m_nFontStyle(0),
      m_pFontFamily(nullptr),
      m_nAlignment(0),
      m_nVAlignment(4),
      m_textRenderingHint(Gdiplus::TextRenderingHintAntiAlias),
      m_hGDIFont(nullptr),
      m_pImage(nullptr),
      m_nFrameWidth(0),
      m_nFrameHeight(0),
      m_nFrameCount(4) {}

MControlFont::~MControlFont() {
  ClearGDIFont();
  delete m_pTextBrush;
  delete m_pFontFamily;
}

void MControlFont::SetTextFont(CString name) { m_strFontName = name; }

void MControlFont::SetTextColor(Gdiplus::Color color) {
  m_textColor = color.GetValue();
  delete m_pTextBrush;
  m_pTextBrush = new Gdiplus::SolidBrush(color);
}

void MControlFont::SetStatusColor(Gdiplus::Color c1, Gdiplus::Color c2, Gdiplus::Color c3) {
  m_statusColor1 = c1.GetValue();
  m_statusColor2 = c2.GetValue();
  m_statusColor3 = c3.GetValue();
}

int MControlFont::StoreImage(ImgResInfo* info, int frames) {
  if (!info) return 0;
  m_nFrameCount = frames;
  m_pImage = info->image;
  m_nFrameWidth = static_cast<int>(info->frameWidth);
  m_nFrameHeight = static_cast<int>(info->height);
  return 1;
}

int MControlFont::TakeImage(ImgResInfo* info, int frames) {
  if (!StoreImage(info, frames)) return 0;
  RepaintIfVisible();
  return 1;
}

// A strip of no frames has no frame width: it is refused and the old strip stays.
int MControlFont::SetImage(UINT id, CString type, int frames) {
  if (!m_pManager || frames < 1) return 0;
  return TakeImage(m_pManager->AddImgResInfo(id, type, frames, 1), frames);
}

int MControlFont::SetImage(const wchar_t* file, int frames) {
  if (!m_pManager || frames < 1) return 0;
  return TakeImage(m_pManager->AddImgResInfo(file, frames), frames);
}

int MControlFont::LoadImageQuietly(const wchar_t* file, int frames) {
  if (!m_pManager) return 0;
  frames = frames < 1 ? 1 : frames;
  return StoreImage(m_pManager->AddImgResInfo(file, frames), frames);
}

int MControlFont::LoadOwnImage(std::unique_ptr<Gdiplus::Image>& own, const wchar_t* file, int frames) {
  frames = frames < 1 ? 1 : frames;
  if (m_pImage == own.get()) m_pImage = nullptr;
  own.reset(file ? MRender::LoadImageFromFile(GetSkinFolder() + file) : nullptr);
  if (!own) return 0;
  m_pImage = own.get();
  m_nFrameWidth = static_cast<int>(own->GetWidth() / static_cast<UINT>(frames));
  m_nFrameHeight = static_cast<int>(own->GetHeight());
  m_nFrameCount = frames;
  return 1;
}

int MControlFont::LoadImageQuietly(UINT id, CString type, int frames) {
  if (!m_pManager) return 0;
  frames = frames < 1 ? 1 : frames;
  return StoreImage(m_pManager->AddImgResInfo(id, type, frames, 1), frames);
}

void MControlFont::SetControlTitle(const wchar_t* text) { m_strTitle = text; }

CString MControlFont::GetControlTitle() { return m_strTitle; }

std::unique_ptr<Gdiplus::Font> MControlFont::CreateTitleFont(FallbackFontFamily& fallback) {
  return std::make_unique<Gdiplus::Font>(fallback.Or(GetFontFamily(m_strFontName)),
                                         static_cast<Gdiplus::REAL>(m_nFontWidth), m_nFontStyle, Gdiplus::UnitPixel);
}

void MControlFont::SetFormatAlignment(Gdiplus::StringFormat& format, UINT h, UINT v) {
  const auto place = [](UINT align, UINT farFlag, UINT centreFlag) {
    if (align & farFlag) return Gdiplus::StringAlignmentFar;
    return (align & centreFlag) ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear;
  };
  format.SetAlignment(place(h, DT_RIGHT, DT_CENTER));
  format.SetLineAlignment(place(v, DT_BOTTOM, DT_VCENTER));
}

void MControlFont::DrawTitleText(Gdiplus::Graphics& g, const wchar_t* text, const Gdiplus::RectF& box, INT formatFlags,
                                 Gdiplus::TextRenderingHint hint) {
  DrawTitleText(g, text, box, formatFlags, hint, m_nAlignment, m_nVAlignment, m_textColor);
}

void MControlFont::DrawTitleText(Gdiplus::Graphics& g, const wchar_t* text, const Gdiplus::RectF& box, INT formatFlags,
                                 Gdiplus::TextRenderingHint hint, UINT h, UINT v, Gdiplus::ARGB colour) {
  if (!text || !*text) return;
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(formatFlags);
  SetFormatAlignment(format, h, v);
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  g.SetTextRenderingHint(hint);
  g.DrawString(text, -1, font.get(), box, &format, &brush);
}

bool MControlFont::PrepareCells(HDC& dc, int cells) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0 || cells < 1) return false;
  UpdateMemDC(dc, cells * w, h);
  if (!m_hCacheDC) return false;
  for (int i = 0; i < cells; ++i) ::BitBlt(m_hCacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top, SRCCOPY);
  return true;
}

void MControlFont::ShowCell(HDC& dc, int cell) {
  if (!m_hCacheDC) return;
  const int w = m_rect.Width();
  ::BitBlt(dc, m_rect.left, m_rect.top, w, m_rect.Height(), m_hCacheDC, cell * w, 0, SRCCOPY);
}

void MControlFont::RepaintIfVisible() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

void MControlFont::RepaintIfVisibleFromAnyThread(int redraw) {
  if (!m_bVisible || !m_pParent) return;
  if (m_pManager && !m_pManager->IsWindowThread()) {
    m_pManager->OnControlUpdate(m_rect, redraw, this);
    return;
  }
  m_pParent->OnControlUpdate(m_rect, redraw, this);
}

void MControlFont::SetTitle(const wchar_t* text) {
  ClearGDIFont();
  SetControlTitle(text);
  RepaintIfVisible();
}

void MControlFont::SetAlignment(UINT h) { SetAlignment(h, m_nVAlignment); }

void MControlFont::SetVAlignment(UINT v) { SetAlignment(m_nAlignment, v); }

void MControlFont::SetAlignment(UINT h, UINT v) {
  if (h == m_nAlignment && v == m_nVAlignment) return;
  m_nAlignment = h;
  m_nVAlignment = v;
  RepaintIfVisible();
}

void MControlFont::SetFont(const wchar_t* family, int size, Gdiplus::FontStyle style) {
  m_strFontName = family;
  m_nFontWidth = size;
  m_nFontStyle = style;
}

Gdiplus::FontFamily* MControlFont::GetFontFamily(const wchar_t* name) {
  if (!m_pManager) return nullptr;
  Gdiplus::FontFamily* found = m_pManager->FindTempFont(name);
  if (!found) return nullptr;
  delete m_pFontFamily;
  m_pFontFamily = found->Clone();
  return m_pFontFamily;
}

HFONT MControlFont::GetGDIFont() {
  if (!m_hGDIFont) m_hGDIFont = CreateStyledFont(Manager::GetFontName(), -m_nFontWidth, m_nFontStyle);
  return m_hGDIFont;
}

void MControlFont::ClearGDIFont() {
  if (m_hGDIFont) DeleteObject(m_hGDIFont);
  m_hGDIFont = nullptr;
}

}  // namespace TESK
