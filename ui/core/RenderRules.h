// The arithmetic behind MRender and its stand-ins for missing msimg32 functions, as plain
// functions so that they can be checked without a window (exported for the tests).
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"

namespace TESK {
namespace render {

// Alpha of row (or column) i of n in a transition between the percentages from and to.
TESK_API int TransitionAlpha(int from, int to, int n, int i);
// Alpha of the pixel (i, j) of an n x n corner fade, measured from its inner corner.
TESK_API int CornerFadeAlpha(int n, int i, int j);
// Corner radii of a rounded rectangle of w x h from a divisor: half of w / divisor and
// h / divisor, both the smaller one when they differ by more than 10. A divisor that is
// not positive gives square corners.
TESK_API void RoundRectRadii(float w, float h, float divisor, float& rx, float& ry);
// Height of one line of text, and of wrapped text, from the font's line height h0 and
// the measured bounds' height.
TESK_API int LineTextHeight(float h0);
TESK_API int WrappedTextHeight(float h0, float boundsHeight);
// Number of bands (a power of two) that the band fill uses for a number of steps.
TESK_API int GradientBandCount(int steps);
// BMP depth written for a display of that many bits per pixel (planes x bits).
TESK_API int BitmapFileDepth(int displayBits);

using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// Per-pixel blend with AlphaBlend's arguments for systems without it: the source,
// stretched to the destination size, is mixed in by the constant alpha, times its own
// per-pixel alpha when the blend says AC_SRC_ALPHA. The alpha byte of the result is 0.
TESK_API BOOL WINAPI SoftwareAlphaBlend(HDC dst, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw,
                                        int sh, BLENDFUNCTION blend);
// Fills rect with solid bands stepping from second (bottom or right) towards first.
TESK_API void FillGradientBands(HDC dc, const RECT& rect, DWORD first, DWORD second, bool vertical, int steps);
// DrawGradient with given entry points: a null GradientFill selects the band fill; a
// null AlphaBlend the software blend.
TESK_API void DrawGradientWith(AlphaBlendProc alphaBlend, GradientFillProc gradientFill, HDC dc, const RECT& rect,
                               DWORD first, DWORD second, bool vertical, int steps);

}  // namespace render
}  // namespace TESK
