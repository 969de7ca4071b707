// Times the window engine's painting of a 1400 x 860 window holding 300 controls: a full
// composition with every control re-rendered, a full composition from the cached drawings,
// and the repaint of one control (its re-render and the composition of its rectangle).
// Prints microseconds per call. Run by hand; not a test.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BitmapProbe.h"
#include "Stopwatch.h"
#include "PaintProbe.h"
#include "ProgramInstance.h"

using namespace TESK;
using testsupport::SolidControl;

using testsupport::MicrosecondsPerCall;

int wmain() {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::PaintHost host;
  const CRect client(0, 0, 1400, 860);
  if (!host.Create(nullptr, L"bench", WS_POPUP, 0, client)) return 1;
  std::vector<SolidControl*> controls;
  for (int i = 0; i < 300; ++i) {
    const int x = (i % 20) * 70, y = (i / 20) * 57;
    auto* control = new SolidControl(&host, 100 + i, CRect(x + 2, y + 2, x + 68, y + 55), RGB(i % 256, 80, 160));
    host.engine.AttachControl(1, control);
    controls.push_back(control);
  }
  testsupport::DibSurface surface(1400, 860);
  const double full = MicrosecondsPerCall(20, [&](int) {
    for (SolidControl* c : controls) c->SetUpdate(0, 0);
    host.engine.ComposeWindow(surface.dc(), surface.bitmap(), client, client);
  });
  const double cached = MicrosecondsPerCall(20, [&](int) {
    host.engine.ComposeWindow(surface.dc(), surface.bitmap(), client, client);
  });
  SolidControl* one = controls[150];
  const double single = MicrosecondsPerCall(200, [&](int) {
    one->UpdateControl(1, 0);
    host.engine.ComposeWindow(surface.dc(), surface.bitmap(), client, one->GetRect());
  });
  host.DestroyWindow();
  std::printf("window 1400 x 860, 300 controls\n");
  std::printf("full render, every control re-rendered %10.1f us\n", full);
  std::printf("full render from cached drawings       %10.1f us\n", cached);
  std::printf("single-control repaint                 %10.1f us\n", single);
  return 0;
}
