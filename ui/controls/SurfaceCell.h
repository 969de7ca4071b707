// The drawing shared by the controls that show one cell over the window (the areas and the
// static text): the cached drawing is rebuilt only while it is stale, as a copy of the window
// surface under the control with the control's own look drawn on top by GDI+ (high-quality
// smoothing), and is then copied to the control's place. Window thread only.
#pragma once

#include <windows.h>

#include "ui/controls/PictureShow.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControl.h"

namespace TESK {

// render(graphics, width, height) draws the look into the stale cell; cache is the control's
// cache DC. Nothing is drawn for an empty rectangle.
template <class Render>
void DrawSurfaceCell(MControl& control, HDC& dc, HDC& cache, Render&& render) {
  const CRect rect = control.GetRect();
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!control.GetUpdate()) {
    if (!PictureShow::CopySurfaceBelow(control, dc, cache, w)) return;
    Gdiplus::Graphics g(cache);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    render(g, w, h);
  }
  ::BitBlt(dc, rect.left, rect.top, w, h, cache, 0, 0, SRCCOPY);
}

// The two integers and the flag that the areas' SetTransparent keeps beside the colour;
// stored for callers, never drawn.
struct AreaTransparency {
  int first = 80;
  int second = 80;
  int on = 1;
};

// A COLORREF (0x00BBGGRR) as an ARGB colour of the given alpha.
inline Gdiplus::ARGB ColorRefToArgb(COLORREF colour, BYTE alpha) {
  return Gdiplus::Color::MakeARGB(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// An ARGB colour as a COLORREF (its alpha left out), for GDI and the system's windows.
inline COLORREF ArgbToColorRef(Gdiplus::ARGB argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace TESK
