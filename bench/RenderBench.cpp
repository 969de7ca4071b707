// Times the common drawing calls on a window-sized surface (1400 x 860): a full-window
// nine-slice background, 100 rounded rectangles and 100 text runs per frame, and a
// translucent gradient. Prints microseconds per call. Run by hand; not a test.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "BitmapProbe.h"
#include "Stopwatch.h"
#include "ui/core/MRender.h"

using namespace TESK;

using testsupport::MicrosecondsPerCall;

int wmain() {
  testsupport::GdiplusSession gdiplus;
  testsupport::DibSurface surface(1400, 860, 0x1A191A);
  Gdiplus::Bitmap skin(90, 90, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics g(&skin);
    g.Clear(Gdiplus::Color(255, 36, 37, 42));
    Gdiplus::Pen pen(Gdiplus::Color(255, 200, 200, 200), 3);
    g.DrawRectangle(&pen, 1, 1, 87, 87);
  }
  Gdiplus::Graphics g(surface.dc());
  HFONT font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Tahoma");
  HDC dc = surface.dc();

  const double nineSlice = MicrosecondsPerCall(50, [&](int) {
    MRender::DrawImageFrame(g, &skin, CRect(0, 0, 1400, 860), 0, 0, 90, 90, 20);
  });
  const double roundRect = MicrosecondsPerCall(1000, [&](int i) {
    const float x = static_cast<float>((i % 10) * 130 + 10), y = static_cast<float>((i / 10 % 10) * 80 + 10);
    MRender::DrawRoundRectange(g, x, y, 120, 60, 6.0f, Gdiplus::Color(255, 90, 90, 90), 1.0f, true,
                               Gdiplus::Color(255, 50, 50, 50));
  });
  const double text = MicrosecondsPerCall(1000, [&](int i) {
    CRect rect((i % 10) * 130 + 10, (i / 10 % 10) * 80 + 10, (i % 10) * 130 + 130, (i / 10 % 10) * 80 + 40);
    MRender::DrawTextW(dc, rect, L"Actuation 1.20 mm", RGB(220, 220, 220), font, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  });
  const double gradient = MicrosecondsPerCall(100, [&](int) {
    MRender::DrawGradient(dc, RECT{0, 0, 1400, 200}, 0x80FFA55A, 0x800ABDE3, true, 64);
  });
  DeleteObject(font);

  std::printf("surface 1400 x 860\n");
  std::printf("nine-slice full window     %10.1f us/call\n", nineSlice);
  std::printf("rounded rectangle 120x60   %10.1f us/call (100 per frame: %.1f us)\n", roundRect, roundRect * 100);
  std::printf("text run                   %10.1f us/call (100 per frame: %.1f us)\n", text, text * 100);
  std::printf("translucent gradient 1400x200 %7.1f us/call\n", gradient);
  return 0;
}
