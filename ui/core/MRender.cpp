#include "ui/core/MRender.h"

#include <shellapi.h>

#include <cmath>
#include <vector>

#include "ui/core/GdiHandles.h"
#include "ui/core/ModuleProc.h"
#include "ui/core/RenderRules.h"

namespace TESK {

namespace {

using Gdiplus::Color;
using Gdiplus::Graphics;
using Gdiplus::GraphicsPath;

// Deletes an image that did not load, so that callers see null.
Gdiplus::Image* KeepIfLoaded(Gdiplus::Image* image) {
  if (image && image->GetLastStatus() != Gdiplus::Ok) {
    delete image;
    return nullptr;
  }
  return image;
}

// The rounded-rectangle outline: edges and quarter arcs clockwise from the top edge.
void AddRoundRect(GraphicsPath& path, float x, float y, float w, float h, float rx, float ry) {
  if (rx <= 0 || ry <= 0) {
    path.AddRectangle(Gdiplus::RectF(x, y, w, h));
    return;
  }
  path.AddLine(x + rx, y, x + w - rx, y);
  path.AddArc(x + w - 2 * rx, y, 2 * rx, 2 * ry, 270, 90);
  path.AddLine(x + w, y + ry, x + w, y + h - ry);
  path.AddArc(x + w - 2 * rx, y + h - 2 * ry, 2 * rx, 2 * ry, 0, 90);
  path.AddLine(x + w - rx, y + h, x + rx, y + h);
  path.AddArc(x, y + h - 2 * ry, 2 * rx, 2 * ry, 90, 90);
  path.AddLine(x, y + h - ry, x, y + ry);
  path.AddArc(x, y, 2 * rx, 2 * ry, 180, 90);
  path.CloseFigure();
}

void FillAndFrame(Graphics& g, float x, float y, float w, float h, float rx, float ry, const Color* fill,
                  const Color* frame, float penWidth) {
  GraphicsPath path;
  AddRoundRect(path, x, y, w, h, rx, ry);
  if (fill) {
    Gdiplus::SolidBrush brush(*fill);
    g.FillPath(&brush, &path);
  }
  if (frame) {
    Gdiplus::Pen pen(*frame, penWidth);
    g.DrawPath(&pen, &path);
  }
}

// One row (vertical) or column of a transition per step, each with its own constant alpha.
int DrawTransition(HDC dst, HDC src, const CRect& rd, const CRect& rs, int from, int to, bool vertical) {
  const int n = vertical ? rd.Height() : rd.Width();
  int alpha = 255;
  for (int i = 0; i < n; ++i) {
    alpha = render::TransitionAlpha(from, to, n, i);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    if (vertical) {
      ::AlphaBlend(dst, rd.left, rd.top + i, rd.Width(), 1, src, rs.left, rs.top + i, rd.Width(), 1, blend);
    } else {
      ::AlphaBlend(dst, rd.left + i, rd.top, 1, rd.Height(), src, rs.left + i, rs.top, 1, rd.Height(), blend);
    }
  }
  return alpha;
}

// The bounds of text laid out as a path, and the font's line height.
Gdiplus::RectF PathTextBounds(Gdiplus::Font& font, Gdiplus::StringFormat& format, const Gdiplus::RectF& layout,
                              const CString& text) {
  Gdiplus::FontFamily family;
  font.GetFamily(&family);
  GraphicsPath path;
  path.AddString(text, text.GetLength(), &family, font.GetStyle(), font.GetSize(), layout, &format);
  Gdiplus::RectF bounds;
  path.GetBounds(&bounds);
  return bounds;
}

struct Msimg32 {
  render::AlphaBlendProc alphaBlend;
  render::GradientFillProc gradientFill;
};

// Resolved once per process (thread-safe static). msimg32 is loaded when it is not yet,
// so that the fall-backs run only where the functions really are missing.
const Msimg32& Msimg32Procs() {
  static const Msimg32 procs = [] {
    HMODULE module = GetModuleHandleW(L"msimg32.dll");
    if (!module) module = LoadLibraryW(L"msimg32.dll");
    return Msimg32{GetModuleProc<render::AlphaBlendProc>(module, "AlphaBlend"),
                   GetModuleProc<render::GradientFillProc>(module, "GradientFill")};
  }();
  return procs;
}

BYTE Alpha(DWORD argb) { return static_cast<BYTE>(argb >> 24); }
BYTE Red(DWORD argb) { return static_cast<BYTE>(argb >> 16); }
BYTE Green(DWORD argb) { return static_cast<BYTE>(argb >> 8); }
BYTE Blue(DWORD argb) { return static_cast<BYTE>(argb); }

// A 32-bpp DIB section; a negative height gives top-down rows.
HBITMAP CreateDib32(HDC dc, int width, int height, void** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP CreateTopDownDib32(HDC dc, int width, int height, DWORD** bits) {
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDib32(dc, width, -height, &pixels);
  *bits = static_cast<DWORD*>(pixels);
  return bitmap;
}

}  // namespace

// ---- Rules ----

namespace render {

int TransitionAlpha(int from, int to, int n, int i) {
  const int lo = from < to ? from : to;
  const int hi = from < to ? to : from;
  const double a = std::trunc(255 - lo * 255 / 100.0);
  const double b = std::trunc((100 - hi) * 255 / 100.0);
  const double step = (a - b) / n;
  const int alpha = static_cast<int>(from < to ? a - i * step : b + i * step);
  return alpha & 0xFF;
}

int CornerFadeAlpha(int n, int i, int j) {
  const double distance = std::sqrt(static_cast<double>(i) * i + static_cast<double>(j) * j);
  return static_cast<int>(255 - (255.0 / n) * (distance < n ? distance : n));
}

void RoundRectRadii(float w, float h, float divisor, float& rx, float& ry) {
  if (divisor <= 0) {
    rx = ry = 0;
    return;
  }
  rx = w / divisor * 0.5f;
  ry = h / divisor * 0.5f;
  if (std::fabs(rx - ry) > 10) rx = ry = (rx < ry ? rx : ry);
}

int LineTextHeight(float h0) {
  return h0 != std::trunc(h0) ? static_cast<int>(h0 + 4) : static_cast<int>(h0) + 1;
}

int WrappedTextHeight(float h0, float boundsHeight) {
  const int t = h0 != std::trunc(h0) ? static_cast<int>(h0 + 2) : static_cast<int>(h0) + 1;
  const int u = boundsHeight != std::trunc(boundsHeight) ? static_cast<int>(boundsHeight + 2)
                                                          : static_cast<int>(boundsHeight) + 1;
  return u > t ? u + 5 : t + 1;
}

int GradientBandCount(int steps) {
  int shift = 6;
  if (steps < 4) shift = 1;
  else if (steps < 8) shift = 2;
  else if (steps < 16) shift = 3;
  else if (steps < 32) shift = 4;
  else if (steps < 64) shift = 5;
  return 1 << shift;
}

int BitmapFileDepth(int displayBits) {
  if (displayBits <= 1) return 1;
  if (displayBits <= 4) return 4;
  if (displayBits <= 8) return 8;
  return 24;
}

BOOL WINAPI SoftwareAlphaBlend(HDC dst, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh,
                               BLENDFUNCTION blend) {
  ScopedMemoryDC dc(dst);
  if (!dc) return FALSE;
  DWORD* srcBits = nullptr;
  DWORD* dstBits = nullptr;
  ScopedGdiObject<HBITMAP> srcDib(CreateTopDownDib32(src, dw, dh, &srcBits));
  if (!srcDib) return FALSE;
  ScopedGdiObject<HBITMAP> dstDib(CreateTopDownDib32(dst, dw, dh, &dstBits));
  if (!dstDib) return FALSE;
  {
    ScopedSelect select(dc.get(), srcDib.get());
    SetStretchBltMode(dc.get(), COLORONCOLOR);
    StretchBlt(dc.get(), 0, 0, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
  }
  ScopedSelect select(dc.get(), dstDib.get());
  ::BitBlt(dc.get(), 0, 0, dw, dh, dst, dx, dy, SRCCOPY);
  GdiFlush();
  const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  const size_t count = static_cast<size_t>(dw) * static_cast<size_t>(dh);
  for (size_t p = 0; p < count; ++p) {
    const DWORD s = srcBits[p];
    const DWORD d = dstBits[p];
    const double sourceAlpha = perPixel ? Alpha(s) : 255.0;
    double a = sourceAlpha * blend.SourceConstantAlpha / 255.0 / 255.0;
    if (a < 0) a = 0;
    const auto mix = [a](BYTE dc, BYTE sc) { return static_cast<DWORD>(dc * (1 - a) + sc * a) & 0xFF; };
    dstBits[p] = (mix(Red(d), Red(s)) << 16) | (mix(Green(d), Green(s)) << 8) | mix(Blue(d), Blue(s));
  }
  ::BitBlt(dst, dx, dy, dw, dh, dc.get(), 0, 0, SRCCOPY);
  return TRUE;
}

void FillGradientBands(HDC dc, const RECT& rect, DWORD first, DWORD second, bool vertical, int steps) {
  const int lines = GradientBandCount(steps);
  int shift = 0;
  while ((1 << shift) < lines) ++shift;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  for (int i = 0; i < lines; ++i) {
    const auto channel = [&](BYTE f, BYTE s) { return static_cast<BYTE>((s * (lines - i) + f * i) >> shift); };
    RECT band = rect;
    if (vertical) {
      band.top = rect.bottom - (((i + 1) * height) >> shift);
      band.bottom = rect.bottom - ((i * height) >> shift);
    } else {
      band.left = rect.right - (((i + 1) * width) >> shift);
      band.right = rect.right - ((i * width) >> shift);
    }
    if (band.left >= band.right || band.top >= band.bottom) continue;
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(
        RGB(channel(Red(first), Red(second)), channel(Green(first), Green(second)), channel(Blue(first), Blue(second)))));
    FillRect(dc, &band, brush.get());
  }
}

void DrawGradientWith(AlphaBlendProc alphaBlend, GradientFillProc gradientFill, HDC dc, const RECT& rect,
                      DWORD first, DWORD second, bool vertical, int steps) {
  const int alpha = (Alpha(first) + Alpha(second)) / 2;
  if (alpha == 0) return;
  const auto paint = [&](HDC target, const RECT& area) {
    if (!gradientFill) {
      FillGradientBands(target, area, first, second, vertical, steps);
      return;
    }
    TRIVERTEX vertices[2] = {
        {area.left, area.top, static_cast<COLOR16>(Red(first) << 8), static_cast<COLOR16>(Green(first) << 8),
         static_cast<COLOR16>(Blue(first) << 8), 0xFF00},
        {area.right, area.bottom, static_cast<COLOR16>(Red(second) << 8), static_cast<COLOR16>(Green(second) << 8),
         static_cast<COLOR16>(Blue(second) << 8), 0xFF00},
    };
    GRADIENT_RECT mesh = {0, 1};
    gradientFill(target, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
  };
  if (alpha == 255) {
    paint(dc, rect);
    return;
  }
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  ScopedMemoryDC memory(dc);
  ScopedGdiObject<HBITMAP> surface(::CreateCompatibleBitmap(dc, width, height));
  if (!memory || !surface) return;
  ScopedSelect select(memory.get(), surface.get());
  paint(memory.get(), RECT{0, 0, width, height});
  // The gradient itself is opaque, so the whole surface is mixed in by the constant
  // alpha alone: a GDI-drawn surface carries no per-pixel alpha to go by.
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
  (alphaBlend ? alphaBlend : SoftwareAlphaBlend)(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, width,
                                                 height, blend);
}

}  // namespace render

// ---- Images ----

Gdiplus::Image* MRender::LoadImageFromFile(CString path) { return KeepIfLoaded(Gdiplus::Image::FromFile(path)); }

Gdiplus::Image* MRender::LoadImageFromFileEx(CString path, int cx, int cy) {
  Gdiplus::Image* source = LoadImageFromFile(path);
  if (!source) return nullptr;
  if (cx == 0 && cy == 0) {
    cx = static_cast<int>(source->GetWidth());
    cy = static_cast<int>(source->GetHeight());
  }
  Gdiplus::Image* scaled = KeepIfLoaded(source->GetThumbnailImage(cx, cy, nullptr, nullptr));
  delete source;
  return scaled;
}

Gdiplus::Image* MRender::LoadImageFromIDResource(UINT id, CString type, HINSTANCE module) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!resource) return nullptr;
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_FIXED, size);
  if (!copy) return nullptr;
  CopyMemory(copy, data, size);
  // The stream frees the copy when its last reference goes; the image keeps one for as
  // long as it reads from it, so the copy lives exactly as long as it is needed.
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
  stream->Release();
  return image;
}

HICON MRender::LoadIconFromFile(CString path) {
  wchar_t buffer[MAX_PATH] = {};
  lstrcpynW(buffer, path, MAX_PATH);
  WORD index = 0;
  return ExtractAssociatedIconW(nullptr, buffer, &index);
}

void MRender::CheckAlphaColor(DWORD& color) {
  if ((color & 0x00FFFFFF) == 0) color += 1;
}

// ---- Surfaces and copies ----

HDC MRender::CreateCompatibleDC(HDC dc) { return ::CreateCompatibleDC(dc); }

HBITMAP MRender::CreateCompatibleBitmap(HDC dc, int cx, int cy) { return ::CreateCompatibleBitmap(dc, cx, cy); }

HBITMAP MRender::CreateARGB32Bitmap(HDC dc, int width, int height, BYTE** bits) {
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDib32(dc, width, height, &pixels);
  if (bits) *bits = static_cast<BYTE*>(pixels);
  return bitmap;
}

BOOL MRender::BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy) {
  return ::BitBlt(dst, x, y, cx, cy, src, sx, sy, SRCCOPY);
}

BOOL MRender::BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop) {
  return ::BitBlt(dst, x, y, cx, cy, src, sx, sy, rop);
}

void MRender::FillSolidRect(HDC& dc, const RECT* rect, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void MRender::FillSolidRect(HDC& dc, int x, int y, int cx, int cy, COLORREF color) {
  const RECT rect = {x, y, x + cx, y + cy};
  FillSolidRect(dc, &rect, color);
}

void MRender::DrawColor(HDC dc, const RECT& rect, DWORD argb) {
  if (Alpha(argb) == 0) return;
  Graphics g(dc);
  Gdiplus::SolidBrush brush{Color(argb)};
  g.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                  static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}

void MRender::DrawRectangle(HDC&, const CRect&, int, int, int) {}

// ---- Skin images ----

void MRender::DrawImageFrame(Graphics& g, Gdiplus::Image* image, const CRect& dst, int x, int y, int cx, int cy,
                             int border) {
  DrawImageFrameMID(g, image, dst, x, y, cx, cy, border, border, border, border);
}

void MRender::DrawImageFrameMID(Graphics& g, Gdiplus::Image* image, const CRect& dst, int x, int y, int cx, int cy,
                                int bl, int bt, int br, int bb) {
  if (!image) return;
  const int L = dst.left, T = dst.top, R = dst.right, B = dst.bottom;
  const int midW = R - L - bl - br, midH = B - T - bt - bb;
  const int srcMidW = cx - bl - br, srcMidH = cy - bt - bb;
  struct Slice {
    int dx, dy, dw, dh, sx, sy, sw, sh;
  };
  const Slice slices[] = {
      {L, T, bl, bt, x, y, bl, bt},                                         // top-left corner
      {L, T + bt, bl, midH, x, y + bt, bl, srcMidH},                        // left edge
      {L, B - bb, bl, bb, x, y + cy - bb, bl, bb},                          // bottom-left corner
      {L + bl, T, midW, bt, x + bl, y, srcMidW, bt},                        // top edge
      {R - br, T, br, bt, x + cx - br, y, br, bt},                          // top-right corner
      {R - br, T + bt, br, midH, x + cx - br, y + bt, br, srcMidH},         // right edge
      {R - br, B - bb, br, bb, x + cx - br, y + cy - bb, br, bb},           // bottom-right corner
      {L + bl, B - bb, midW, bb, x + bl, y + cy - bb, srcMidW, bb},         // bottom edge
      {L + bl, T + bt, midW, midH, x + bl, y + bt, srcMidW, srcMidH},       // centre
  };
  for (const Slice& s : slices) {
    if (s.dw <= 0 || s.dh <= 0 || s.sw <= 0 || s.sh <= 0) continue;
    g.DrawImage(image, Gdiplus::Rect(s.dx, s.dy, s.dw, s.dh), s.sx, s.sy, s.sw, s.sh, Gdiplus::UnitPixel);
  }
}

// ---- Shapes ----

void MRender::DrawRoundRectange(Graphics& g, float x, float y, float w, float h, float r, Color color) {
  FillAndFrame(g, x, y, w, h, r, r, &color, nullptr, 0);
}

void MRender::DrawRoundRectange(Graphics& g, float x, float y, float w, float h, float r, Color frame,
                                float penWidth, Color fill) {
  FillAndFrame(g, x, y, w, h, r, r, &fill, penWidth != 0 ? &frame : nullptr, penWidth);
}

void MRender::DrawRoundRectange(Graphics& g, float x, float y, float w, float h, float divisor, Color frame,
                                float penWidth, bool filled, Color fill) {
  float rx = 0, ry = 0;
  render::RoundRectRadii(w, h, divisor, rx, ry);
  FillAndFrame(g, x, y, w, h, rx, ry, filled ? &fill : nullptr, &frame, penWidth);
}

void MRender::DrawRectange(Graphics& g, float x, float y, float w, float h, Color frame, Color fill) {
  Gdiplus::SolidBrush brush(fill);
  g.FillRectangle(&brush, x, y, w, h);
  Gdiplus::Pen pen(frame, 1);
  g.DrawRectangle(&pen, x + 1, y + 1, w - 1, h - 1);
}

// ---- Transitions ----

int MRender::DrawVerticalTransition(HDC& dst, HDC& src, const CRect& rd, const CRect& rs, int from, int to) {
  return DrawTransition(dst, src, rd, rs, from, to, true);
}

int MRender::DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& rd, const CRect& rs, int from, int to) {
  return DrawTransition(dst, src, rd, rs, from, to, false);
}

void MRender::DrawRightBottomTransition(HDC& dst, HDC& src, CRect rc, int n, DWORD) {
  const int W = rc.Width(), H = rc.Height();
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(render::CornerFadeAlpha(n, i, j)), 0};
      const int px = W - n + i, py = H - n + j;
      ::AlphaBlend(dst, px, py, 1, 1, src, px, py, 1, 1, blend);
    }
  }
}

// ---- Text ----

void MRender::DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF color, HFONT font, UINT format) {
  if (!text) return;
  SetBkMode(dc, TRANSPARENT);
  const COLORREF previousColor = SetTextColor(dc, color);
  HGDIOBJ previousFont = SelectObject(dc, font);
  ::DrawTextW(dc, text, -1, &rect, format);
  SetTextColor(dc, previousColor);
  if (previousFont) SelectObject(dc, previousFont);
}

Gdiplus::Size MRender::GetTextBounds(Gdiplus::Font& font, Gdiplus::StringFormat& format, CString text) {
  const Gdiplus::RectF bounds = PathTextBounds(font, format, Gdiplus::RectF(0, 0, 0, 0), text);
  return Gdiplus::Size(static_cast<INT>(std::ceil(bounds.Width)), render::LineTextHeight(font.GetHeight(0.0f)));
}

Gdiplus::Size MRender::GetTextBounds(Gdiplus::Font& font, Gdiplus::StringFormat& format, int width, CString text) {
  const Gdiplus::RectF bounds = PathTextBounds(font, format, Gdiplus::RectF(0, 0, static_cast<float>(width), 0), text);
  return Gdiplus::Size(static_cast<INT>(std::ceil(bounds.Width)),
                       render::WrappedTextHeight(font.GetHeight(0.0f), bounds.Height));
}

Gdiplus::Size MRender::GetTextBounds(Gdiplus::Font& font, CString text) {
  Gdiplus::StringFormat format;
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  return GetTextBounds(font, format, text);
}

CPoint MRender::GetOriginPoint(int w, int h, int tw, int th, UINT hAlign, UINT vAlign) {
  const int x = hAlign == 1 ? (w - tw) / 2 : hAlign == 2 ? w - tw : 0;
  const int y = vAlign == 4 ? (h - th) / 2 : vAlign == 8 ? h - th : 0;
  return CPoint(x, y);
}

CPoint MRender::GetOriginPoint(CRect rc, int tw, int th, UINT hAlign, UINT vAlign) {
  const CPoint offset = GetOriginPoint(rc.Width(), rc.Height(), tw, th, hAlign, vAlign);
  return CPoint(rc.left + offset.x, rc.top + offset.y + 2);
}

// ---- Gradient ----

void MRender::DrawGradient(HDC dc, const RECT& rect, DWORD first, DWORD second, bool vertical, int steps) {
  const Msimg32& procs = Msimg32Procs();
  render::DrawGradientWith(procs.alphaBlend, procs.gradientFill, dc, rect, first, second, vertical, steps);
}

// ---- Files ----

int MRender::SaveBitmapToFile(HBITMAP bitmap, CString path) {
  HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  const int depth = render::BitmapFileDepth(GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL));
  DeleteDC(screen);

  BITMAP info = {};
  GetObjectW(bitmap, sizeof(info), &info);
  // Depths of 8 bits or less carry a colour table between the header and the pixels;
  // GetDIBits writes it right after the header, so room is made for it there.
  const DWORD colours = depth <= 8 ? (1u << depth) : 0;
  const DWORD tableBytes = colours * sizeof(RGBQUAD);
  const DWORD imageBytes = static_cast<DWORD>(info.bmHeight) * 4 * ((depth * info.bmWidth + 31) / 32);
  std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + tableBytes + imageBytes);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = info.bmWidth;
  header->biHeight = info.bmHeight;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(depth);
  header->biCompression = BI_RGB;

  HDC dc = GetDC(nullptr);
  HPALETTE previous = SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  RealizePalette(dc);
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), block.data() + sizeof(BITMAPINFOHEADER) + tableBytes,
            reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
  if (previous) {
    SelectPalette(dc, previous, TRUE);
    RealizePalette(dc);
  }
  ReleaseDC(nullptr, dc);
  // GetDIBits may fill in fields of the header; the file describes what was asked for.
  header->biSizeImage = 0;
  header->biXPelsPerMeter = header->biYPelsPerMeter = 0;
  header->biClrImportant = 0;
  header->biClrUsed = 0;

  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + tableBytes;
  BITMAPFILEHEADER fileHeader = {};
  fileHeader.bfType = 0x4D42;
  fileHeader.bfSize = offset + imageBytes;
  fileHeader.bfOffBits = offset;
  DWORD written = 0;
  WriteFile(file, &fileHeader, sizeof(fileHeader), &written, nullptr);
  WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
  CloseHandle(file);
  return 1;
}

FallbackFontFamily::FallbackFontFamily() : m_owned(nullptr) {}

FallbackFontFamily::~FallbackFontFamily() { delete m_owned; }

const Gdiplus::FontFamily* FallbackFontFamily::Or(const Gdiplus::FontFamily* family) {
  if (family) return family;
  if (const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif()) return generic;
  if (!m_owned) {
    for (const wchar_t* name : {L"Tahoma", L"Segoe UI", L"Arial", L"DejaVu Sans"}) {
      auto* candidate = new Gdiplus::FontFamily(name);
      if (candidate->IsAvailable()) {
        m_owned = candidate;
        break;
      }
      delete candidate;
    }
  }
  return m_owned;
}

}  // namespace TESK
