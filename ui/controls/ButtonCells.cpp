#include "ui/controls/ButtonCells.h"

#include <algorithm>

#include "ui/controls/PictureShow.h"
#include "ui/core/MControlFont.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace ButtonCells {

namespace {

constexpr INT kTitleFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
constexpr int kDownCell = 2;
constexpr int kDisabledCell = 3;

}  // namespace

bool Prepare(MControl& control, HDC& dc, HDC& cache, int cells) {
  const CRect rect = control.GetRect();
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return false;
  control.UpdateMemDC(dc, cells * w, h);
  if (!cache) return false;
  for (int k = 0; k < cells; ++k) ::BitBlt(cache, k * w, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
  return true;
}

void Show(const MControl& control, HDC& dc, HDC cache, int cell, int cells) {
  const CRect rect = control.GetRect();
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0 || !cache) return;
  if (cell < 0 || cell >= cells) cell = 0;
  ::BitBlt(dc, rect.left, rect.top, w, h, cache, cell * w, 0, SRCCOPY);
}

CRect Cell(const MControl& control, int k) {
  const CRect rect = control.GetRect();
  return CRect(k * rect.Width(), 0, (k + 1) * rect.Width(), rect.Height());
}

void DrawFrameAt(Gdiplus::Graphics& g, Gdiplus::Image* strip, int frameWidth, int height, int frame, int x, int y) {
  if (!strip || frameWidth <= 0 || height <= 0) return;
  g.DrawImage(strip, Gdiplus::Rect(x, y, frameWidth, height), frame * frameWidth, 0, frameWidth, height,
              Gdiplus::UnitPixel);
}

void DrawStripFrameAt(Gdiplus::Graphics& g, const MControlFont& control, int frame, int x, int y) {
  const CSize size = control.GetImageSize();
  frame = std::max(0, std::min(frame, control.GetImageCount() - 1));
  DrawFrameAt(g, control.GetImage(), size.cx, size.cy, frame, x, y);
}

void DrawRadioCell(Gdiplus::Graphics& g, MControlFont& control, Gdiplus::Font* font, int k, bool grey) {
  const CRect rect = control.GetRect();
  const int w = rect.Width(), h = rect.Height(), x0 = k * w;
  const CSize frame = control.GetImageSize();
  DrawStripFrameAt(g, control, k, x0, (h - frame.cy) / 2);
  const CString title = control.GetTitle();
  if (!font || title.IsEmpty()) return;
  const Gdiplus::Size text = MeasureTitle(*font, title);
  UINT hAlign = 0, vAlign = 0;
  control.GetAlignment(hAlign, vAlign);
  const CPoint offset = MRender::GetOriginPoint(w, h, text.Width, text.Height, hAlign, vAlign);
  const CRect box(CPoint(x0 + offset.x + frame.cx + 8, offset.y + 2),
                  CSize(w - frame.cx - offset.x - 3, text.Height));
  DrawTitle(g, control, font, title, box, grey ? kDisabledText : control.GetTextColor(), Gdiplus::StringAlignmentNear,
            Gdiplus::StringAlignmentNear);
}

void DrawStripFrame(Gdiplus::Graphics& g, const MControlFont& control, int frame, const CRect& box, int corner) {
  Gdiplus::Image* strip = control.GetImage();
  const CSize size = control.GetImageSize();
  if (!strip || size.cx <= 0 || size.cy <= 0) return;
  frame = std::max(0, std::min(frame, control.GetImageCount() - 1));
  MRender::DrawImageFrame(g, strip, box, frame * size.cx, 0, size.cx, size.cy, corner);
}

std::unique_ptr<Gdiplus::Font> TitleFont(MControlFont& control, float size) {
  const Gdiplus::FontFamily* family = control.GetFontFamily(control.GetTextFont());
  if (!family) return nullptr;
  const float em = size > 0 ? size : static_cast<float>(control.GetFontWidth());
  return std::make_unique<Gdiplus::Font>(family, em, control.GetFontStyle(), Gdiplus::UnitPixel);
}

void SetTitleFormat(Gdiplus::StringFormat& format, Gdiplus::StringAlignment horizontal,
                    Gdiplus::StringAlignment vertical) {
  format.SetFormatFlags(kTitleFormat);
  format.SetAlignment(horizontal);
  format.SetLineAlignment(vertical);
}

void DrawText(Gdiplus::Graphics& g, const Gdiplus::Font* font, const CString& text, const CRect& box,
              Gdiplus::ARGB colour, Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical) {
  if (!font || text.IsEmpty()) return;
  Gdiplus::StringFormat format;
  SetTitleFormat(format, horizontal, vertical);
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  const Gdiplus::RectF layout(static_cast<float>(box.left), static_cast<float>(box.top),
                              static_cast<float>(box.Width()), static_cast<float>(box.Height()));
  g.DrawString(text, text.GetLength(), font, layout, &format, &brush);
}

void DrawTitle(Gdiplus::Graphics& g, const MControlFont& control, const Gdiplus::Font* font, const CString& text,
               const CRect& box, Gdiplus::ARGB colour, Gdiplus::StringAlignment horizontal,
               Gdiplus::StringAlignment vertical) {
  g.SetTextRenderingHint(control.GetTextRenderingHint());
  DrawText(g, font, text, box, colour, horizontal, vertical);
}

Gdiplus::Size MeasureTitle(Gdiplus::Font& font, const CString& text) {
  Gdiplus::StringFormat format;
  SetTitleFormat(format, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
  return MRender::GetTextBounds(font, format, text);
}

void DrawCellTitle(Gdiplus::Graphics& g, const MControlFont& control, const Gdiplus::Font* font, const CString& text,
                   int k, const CRect& textRect) {
  CRect box = Cell(control, k);
  if (!textRect.IsRectEmpty()) {
    box = textRect;
    box.OffsetRect(k * control.GetRect().Width(), 0);
  }
  if (k == kDownCell) box.OffsetRect(kPressedShift, kPressedShift);
  const Gdiplus::ARGB colour = k == kDisabledCell ? kDisabledText : control.GetTextColor();
  DrawTitle(g, control, font, text, box, colour);
}

void DrawPlainCell(Gdiplus::Graphics& g, const MControlFont& control, const Gdiplus::Font* font, const CString& text,
                   int k, int corner, const CRect& textRect) {
  DrawStripFrame(g, control, k, Cell(control, k), corner);
  DrawCellTitle(g, control, font, text, k, textRect);
}

OwnedStrip::~OwnedStrip() { delete m_image; }

int OwnedStrip::Load(const wchar_t* file, int frames) {
  return PictureShow::Replace(m_image, m_frameWidth, m_height, &m_frames, PictureShow::LoadSkin(file),
                              std::max(frames, 1));
}

}  // namespace ButtonCells

}  // namespace TESK
