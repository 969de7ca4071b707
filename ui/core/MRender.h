// MRender: the static drawing and image functions shared by the window engine and the
// controls: image loading, memory surfaces, nine-slice skin drawing, rounded rectangles,
// alpha transitions between two surfaces, text measuring and placement, gradients and
// BMP saving. Stateless apart from the once-resolved msimg32 entry points, so any thread
// may call it. Colours named argb are 0xAARRGGBB; COLORREF values are 0x00BBGGRR.
// Images returned by the loaders belong to the caller (delete them).
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MRender {
public:
  MRender() = delete;

  // Null when the file is missing, unreadable or not an image.
  static Gdiplus::Image* LoadImageFromFile(CString path);
  // The file's image scaled to cx x cy (its own size when both are 0), or null.
  static Gdiplus::Image* LoadImageFromFileEx(CString path, int cx, int cy);
  // An image from a resource of the module; null when the resource is missing. Data that
  // is not an image gives an image whose status reports the failure. The image owns the
  // memory copy of the resource that it reads from.
  static Gdiplus::Image* LoadImageFromIDResource(UINT id, CString type, HINSTANCE module);
  static HICON LoadIconFromFile(CString path);
  // Pure black (low 24 bits 0) becomes 0x000001, keeping the alpha.
  static void CheckAlphaColor(DWORD& color);

  static HDC CreateCompatibleDC(HDC dc);
  static HBITMAP CreateCompatibleBitmap(HDC dc, int cx, int cy);
  // A bottom-up 32-bpp DIB section; bits receives its pixels. Null on failure.
  static HBITMAP CreateARGB32Bitmap(HDC dc, int width, int height, BYTE** bits);
  static BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy);
  static BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop);
  // Fills through the DC's background colour, which keeps the colour afterwards.
  static void FillSolidRect(HDC& dc, const RECT* rect, COLORREF color);
  static void FillSolidRect(HDC& dc, int x, int y, int cx, int cy, COLORREF color);
  // Fills with a GDI+ brush, alpha honoured; nothing for alpha 0.
  static void DrawColor(HDC dc, const RECT& rect, DWORD argb);
  static void DrawRectangle(HDC& dc, const CRect& rect, int, int, int);

  // Nine-slice: the source rectangle (x, y, cx, cy) into dst with unscaled corners, edges
  // stretched along their length and the centre stretched both ways.
  static void DrawImageFrame(Gdiplus::Graphics& g, Gdiplus::Image* image, const CRect& dst, int x, int y, int cx,
                             int cy, int border);
  static void DrawImageFrameMID(Gdiplus::Graphics& g, Gdiplus::Image* image, const CRect& dst, int x, int y, int cx,
                                int cy, int bl, int bt, int br, int bb);

  static void DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, float r,
                                Gdiplus::Color color);
  // Filled; outlined too when penWidth is not 0.
  static void DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, float r,
                                Gdiplus::Color frame, float penWidth, Gdiplus::Color fill);
  // Radii follow the size (see RoundRectRadii); filled when asked, always outlined.
  static void DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, float divisor,
                                Gdiplus::Color frame, float penWidth, bool filled, Gdiplus::Color fill);
  static void DrawRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, Gdiplus::Color frame,
                           Gdiplus::Color fill);

  // Copy src onto dst row by row (column by column) with a constant alpha running
  // linearly between the percentages from and to; return the last alpha, 255 for nothing.
  static int DrawVerticalTransition(HDC& dst, HDC& src, const CRect& rd, const CRect& rs, int from, int to);
  static int DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& rd, const CRect& rs, int from, int to);
  // Fades the n x n square at rc's bottom-right corner from opaque to clear.
  static void DrawRightBottomTransition(HDC& dst, HDC& src, CRect rc, int n, DWORD);

  // Transparent text in the colour and font; the DC's colour and font are restored.
  static void DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF color, HFONT font, UINT format);
  static Gdiplus::Size GetTextBounds(Gdiplus::Font& font, Gdiplus::StringFormat& format, CString text);
  static Gdiplus::Size GetTextBounds(Gdiplus::Font& font, Gdiplus::StringFormat& format, int width, CString text);
  static Gdiplus::Size GetTextBounds(Gdiplus::Font& font, CString text);
  // Where a tw x th box goes in a w x h box: hAlign 1 centre, 2 right; vAlign 4 centre, 8 bottom.
  static CPoint GetOriginPoint(int w, int h, int tw, int th, UINT hAlign, UINT vAlign);
  // The same inside rc, 2 pixels lower.
  static CPoint GetOriginPoint(CRect rc, int tw, int th, UINT hAlign, UINT vAlign);

  // A linear gradient from first (top or left) to second, translucent by the average of
  // the two alphas; nothing when that average is 0.
  static void DrawGradient(HDC dc, const RECT& rect, DWORD first, DWORD second, bool vertical, int steps);

  // Writes the bitmap as a BMP file at the display's depth; 0 when the file cannot be created.
  static int SaveBitmapToFile(HBITMAP bitmap, CString path);
};

// The face for text whose own face is neither private nor installed: the system's generic
// sans-serif face, else an installed face that both Windows and Wine have. Wine answers no
// generic face where none of the Windows faces is installed, and text drawn with a null
// family shows nothing. Holds the face it had to create; make one where the text is drawn.
class TESK_API FallbackFontFamily {
public:
  FallbackFontFamily();
  ~FallbackFontFamily();
  FallbackFontFamily(const FallbackFontFamily&) = delete;
  FallbackFontFamily& operator=(const FallbackFontFamily&) = delete;

  // family itself when it is given, else the fall-back face (null only when no face at all is there).
  const Gdiplus::FontFamily* Or(const Gdiplus::FontFamily* family);

private:
  Gdiplus::FontFamily* m_owned;
};

}  // namespace TESK
