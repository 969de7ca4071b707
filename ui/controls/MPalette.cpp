#include "ui/controls/MPalette.h"

#include <cfloat>

#include <algorithm>

#include "ui/controls/PictureShow.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

// The conversions truncate single-precision results; evaluating them in a wider precision
// (x87) would move colours across those truncations. The 32-bit build uses SSE for floats.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated in single precision");

namespace TESK {

namespace {

constexpr int kPixelWidth = 400;
constexpr int kPixelHeight = 360;
constexpr int kFieldColumns = 360;
constexpr int kDataRows = 200;
constexpr int kBarColumn = 370;
// The field shows lightness 20..199 of 200: its first 20 pixel rows are never shown.
constexpr int kFirstShownRow = 20;
constexpr int kMinLightness = 20;
constexpr Gdiplus::ARGB kRingOuter = 0xFEFFFFFF;
constexpr Gdiplus::ARGB kRingInner = 0xFE808080;
constexpr Gdiplus::ARGB kDisabledVeil = 0x0A808080;
constexpr float kOneThird = 0.33333334f;
constexpr float kTwoThirds = 0.6666667f;

float HueToRgb(float low, float high, float t) {
  if (t < 0.0f) t += 1.0f;
  if (t > 1.0f) t -= 1.0f;
  if (6.0f * t < 1.0f) return ((high - low) * 6.0f) * t + low;
  if (2.0f * t < 1.0f) return high;
  if (3.0f * t < 2.0f) return ((high - low) * (kTwoThirds - t)) * 6.0f + low;
  return low;
}

BYTE ToByte(float v) { return static_cast<BYTE>(static_cast<int>(v * 255.0f)); }

COLORREF HslToRgb(float h, float s, float l) {
  if (s == 0.0f) {
    const BYTE v = ToByte(l);
    return RGB(v, v, v);
  }
  const float high = l < 0.5f ? (1.0f + s) * l : (s + l) - s * l;
  const float low = 2.0f * l - high;
  return RGB(ToByte(HueToRgb(low, high, h + kOneThird)), ToByte(HueToRgb(low, high, h)),
             ToByte(HueToRgb(low, high, h - kOneThird)));
}

struct Hsl {
  float h, s, l;
};

Hsl RgbToHsl(COLORREF c) {
  const float r = GetRValue(c) / 255.0f;
  const float g = GetGValue(c) / 255.0f;
  const float b = GetBValue(c) / 255.0f;
  const float lo = std::min(r, std::min(g, b));
  const float hi = std::max(r, std::max(g, b));
  const float d = hi - lo;
  Hsl out{0.0f, 0.0f, (hi + lo) * 0.5f};
  if (d == 0.0f) return out;
  out.s = out.l < 0.5f ? d / (hi + lo) : d / ((2.0f - hi) - lo);
  const float half = d * 0.5f;
  const float dr = ((hi - r) / 6.0f + half) / d;
  const float dg = ((hi - g) / 6.0f + half) / d;
  const float db = ((hi - b) / 6.0f + half) / d;
  if (r == hi) {
    out.h = db - dg;
  } else if (g == hi) {
    out.h = (dr + kOneThird) - db;
  } else {
    out.h = (dg + kTwoThirds) - dr;
  }
  if (out.h < 0.0f) out.h += 1.0f;
  if (out.h > 1.0f) out.h -= 1.0f;
  return out;
}

}  // namespace

MPalette::MPalette(MObject* owner, UINT id, CRect rect, int visible)
    : MControlFont(owner, id, rect, L"", visible, 1, 1),
      m_nHue(180),
      m_nSaturation(200),
      m_nLightness(120),
      m_oldPixelBitmap(nullptr),
      m_bitmapInfo{},
      m_nThumbWidth(0),
      m_nThumbHeight(0),
      m_selectColor(0),
      m_nPalletHeight(150),
      m_nBarWidth(16),
      m_rcField(rect.left, rect.top, rect.right - 38, rect.top + 150),
      m_rcBar(rect.right - 32, rect.top, rect.right, rect.top + 150),
      m_bBarDrag(0),
      m_bFieldDrag(0) {
  m_selectColor = GetSelectColor();
  PlaceCursor();
}

MPalette::~MPalette() {
  if (m_pixelDC && m_oldPixelBitmap) SelectObject(m_pixelDC->get(), m_oldPixelBitmap);
}

COLORREF MPalette::GetSelectColor() const {
  return HslToRgb(m_nHue / 360.0f, m_nSaturation / 200.0f, m_nLightness / 200.0f) & 0xFFFFFF;
}

void MPalette::SetSelectColor(COLORREF colour) {
  m_selectColor = colour;
  const Hsl hsl = RgbToHsl(colour & 0xFFFFFF);
  m_nHue = static_cast<int>(hsl.h * 360.0f);
  m_nSaturation = static_cast<int>(hsl.s * 200.0f);
  m_nLightness = static_cast<int>(hsl.l * 200.0f);
  PlaceCursor();
  UpdateBarData();
  UpdateControl(1, 0);
}

int MPalette::SetThumbImage(const wchar_t* file) {
  std::unique_ptr<Gdiplus::Image> image(MRender::LoadImageFromFile(GetSkinFolder() + (file ? file : L"")));
  if (image && image->GetLastStatus() == Gdiplus::Ok) {
    m_nThumbWidth = static_cast<int>(image->GetWidth()) / 4;
    m_nThumbHeight = static_cast<int>(image->GetHeight());
    m_thumb = std::move(image);
  }
  return 0;
}

void MPalette::SetPalletHeight(int height) {
  m_nPalletHeight = height;
  UpdateControl(1, 0);
}

void MPalette::PlaceCursor() {
  m_cursor.x = m_rcField.left + (m_rcField.Width() * m_nHue) / 360;
  m_cursor.y = std::max<LONG>(m_rcField.top,
                              m_rcField.top + ((m_nLightness - kMinLightness) * m_nPalletHeight) / 180);
}

void MPalette::InitControl(PaintManager* manager) {
  HDC reference = manager ? manager->GetPaintDC() : nullptr;
  HDC screen = reference ? nullptr : GetDC(nullptr);
  HDC compatible = reference ? reference : screen;
  m_pixelDC = std::make_unique<ScopedMemoryDC>(compatible);
  m_pixelBitmap = std::make_unique<ScopedGdiObject<HBITMAP>>(CreateCompatibleBitmap(compatible, kPixelWidth, kPixelHeight));
  if (screen) ReleaseDC(nullptr, screen);
  if (!*m_pixelDC || !*m_pixelBitmap) return;
  m_oldPixelBitmap = SelectObject(m_pixelDC->get(), m_pixelBitmap->get());
  GetObjectW(m_pixelBitmap->get(), sizeof(m_bitmapInfo), &m_bitmapInfo);
  m_pixels.assign(static_cast<size_t>(m_bitmapInfo.bmWidthBytes) * m_bitmapInfo.bmHeight, 0);
  GetBitmapBits(m_pixelBitmap->get(), static_cast<LONG>(m_pixels.size()), m_pixels.data());
  UpdatePaletteData();
  UpdateBarData();
  PlaceCursor();
}

// Pixels need at least three bytes; other formats keep the bitmap as it is.
void MPalette::PutPixel(int row, int column, COLORREF colour) {
  const int bytes = m_bitmapInfo.bmBitsPixel / 8;
  if (bytes < 3 || row >= m_bitmapInfo.bmHeight || column >= m_bitmapInfo.bmWidth) return;
  // Pure black is written as the nearest non-black value.
  if (colour == 0) colour = 0x000001;
  BYTE* p = m_pixels.data() + static_cast<size_t>(row) * m_bitmapInfo.bmWidthBytes + static_cast<size_t>(column) * bytes;
  p[0] = GetBValue(colour);
  p[1] = GetGValue(colour);
  p[2] = GetRValue(colour);
}

void MPalette::StorePixels() {
  SetBitmapBits(m_pixelBitmap->get(), static_cast<DWORD>(m_pixels.size()), m_pixels.data());
}

void MPalette::UpdatePaletteData() {
  if (m_pixels.empty()) return;
  for (int i = 0; i < kDataRows; ++i) {
    for (int j = 0; j < kFieldColumns; ++j) PutPixel(i, j, HslToRgb(j / 360.0f, 1.0f, i / 200.0f));
  }
  StorePixels();
}

void MPalette::UpdateBarData() {
  if (m_pixels.empty()) return;
  for (int k = 0; k < m_nBarWidth; ++k) {
    for (int j = 0; j < kDataRows; ++j) {
      PutPixel(j, kBarColumn + k, HslToRgb(m_nHue / 360.0f, j / 200.0f, m_nLightness / 200.0f));
    }
  }
  StorePixels();
}

void MPalette::SetControlRect(CRect rect) {
  m_rect = rect;
  m_rcField = CRect(rect.left, rect.top, rect.right - m_nBarWidth - 22, rect.top + m_nPalletHeight);
  m_rcBar = CRect(rect.right - m_nBarWidth - 16, rect.top, rect.right, rect.top + m_nPalletHeight);
  UpdatePaletteData();
  UpdateBarData();
  PlaceCursor();
  UpdateControl(1, 0);
}

void MPalette::SetControlEnabled(int enabled) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  UpdateControl(1, 0);
}

LRESULT MPalette::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

int MPalette::OnControlScroll(int, UINT, CPoint) { return 1; }

void MPalette::TakeFieldPoint(CPoint pt) {
  m_cursor = pt;
  const int hue = ((pt.x - m_rcField.left) * 360) / m_rcField.Width();
  m_nHue = hue <= 0 ? 0 : std::min(hue, 360);
  const int lightness = ((pt.y - m_rcField.top) * 180) / m_nPalletHeight + kMinLightness;
  m_nLightness = std::max(kMinLightness, std::min(lightness, 200));
  UpdateBarData();
}

void MPalette::TakeBarPoint(int y) {
  const int saturation = ((y - m_rcBar.top) * 200) / m_nPalletHeight;
  m_nSaturation = saturation <= 0 ? 0 : std::min(saturation, 200);
}

int MPalette::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  m_bBarDrag = m_bFieldDrag = 0;
  if (!m_rect.PtInRect(pt) || !HasArea()) return 1;
  if (m_rcField.PtInRect(pt)) {
    TakeFieldPoint(CPoint(std::max(m_rcField.left, std::min(pt.x, m_rcField.right)),
                          std::max(m_rcField.top, std::min(pt.y, m_rcField.bottom))));
    m_bFieldDrag = 1;
  } else if (m_rcBar.PtInRect(pt)) {
    TakeBarPoint(pt.y);
    m_bBarDrag = 1;
  }
  const COLORREF colour = GetSelectColor();
  const bool changed = colour != m_selectColor;
  m_selectColor = colour;
  UpdateControl(1, 0);
  if (changed) SendMessageW(NOTIFY_COLORCHANGED, colour, 0);
  return 1;
}

// Field drags change the colour silently; the owner hears of it at the next press or bar drag.
int MPalette::OnControlMouseMove(UINT keys, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (!HasArea()) return 1;
  if (m_bFieldDrag && (keys & MK_LBUTTON)) {
    if (!m_rcField.PtInRect(pt)) return 1;
    TakeFieldPoint(CPoint(std::max(m_rect.left, std::min(pt.x, m_rect.right)),
                          std::max(m_rect.top, std::min(pt.y, m_rect.top + m_nPalletHeight))));
    UpdateControl(1, 0);
  } else if (m_bBarDrag) {
    TakeBarPoint(pt.y);
    UpdateControl(1, 0);
    SendMessageW(NOTIFY_COLORCHANGED, 0, 0);
  }
  return 1;
}

int MPalette::OnControlLButtonUp(UINT, CPoint) {
  if (!m_bEnabled) return 0;
  m_bBarDrag = m_bFieldDrag = 0;
  UpdateControl(1, 0);
  return 1;
}

void MPalette::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    if (m_pixelDC && *m_pixelDC) {
      SetStretchBltMode(m_hCacheDC, HALFTONE);
      SetBrushOrgEx(m_hCacheDC, 0, 0, nullptr);
      StretchBlt(m_hCacheDC, 0, 0, m_rcField.Width(), m_nPalletHeight, m_pixelDC->get(), 0, kFirstShownRow,
                 kFieldColumns, kDataRows - kFirstShownRow, SRCCOPY);
      StretchBlt(m_hCacheDC, m_rcBar.left - m_rect.left, 0, m_nBarWidth, m_nPalletHeight, m_pixelDC->get(),
                 kBarColumn, 0, m_nBarWidth, kDataRows, SRCCOPY);
    }
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    const int x = m_cursor.x - 4 - m_rect.left, y = m_cursor.y - 4 - m_rect.top;
    Gdiplus::Pen outer{Gdiplus::Color(kRingOuter), 1.0f};
    g.DrawEllipse(&outer, x, y, 8, 8);
    Gdiplus::Pen inner{Gdiplus::Color(kRingInner), 1.0f};
    g.DrawEllipse(&inner, x + 1, y + 1, 8, 8);
    if (!m_bEnabled) {
      Gdiplus::SolidBrush veil{Gdiplus::Color(kDisabledVeil)};
      g.FillRectangle(&veil, 0, 0, w, h);
    }
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
  if (m_thumb) {
    const int ty = m_nPalletHeight * m_nSaturation / 200;
    const int left = m_rcBar.left + m_nBarWidth, top = m_rect.top + ty - m_nThumbHeight / 2;
    m_rcThumb = CRect(left, top, left + m_nThumbWidth, m_rect.top + ty + m_nThumbHeight / 2);
    Gdiplus::Graphics g(dc);
    g.DrawImage(m_thumb.get(), Gdiplus::Rect(left, top, m_nThumbWidth, m_nThumbHeight), 0, 0, m_nThumbWidth,
                m_nThumbHeight, Gdiplus::UnitPixel);
  }
}

}  // namespace TESK
