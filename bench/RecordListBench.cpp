// Times one recorded macro event in the macro page's event list (370 x 570): the delay of
// the last row, the appended row, and the repaint it asks for (the list's drawing with the
// window's composition of its rectangle), with 100 and with 5,000 rows already in the list.
// Only the rows in view are drawn, so both figures should be close. Prints microseconds per
// event. Run by hand; not a test.
#include <windows.h>

#include <cstdio>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "Stopwatch.h"
#include "ui/keyboard/CRecordList.h"

using namespace TESK;
using testsupport::MicrosecondsPerCall;

namespace {

double OneEvent(int rows) {
  testsupport::ControlHost host(380, 580);
  auto* list = new CRecordList(&host, 254, CRect(5, 5, 375, 575), 1);
  host.Adopt(list);
  list->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
  list->SetFont(testsupport::InstalledFontFamily(), 16, Gdiplus::FontStyleRegular);
  for (int i = 0; i < rows; ++i) list->AddString(L"A", 2 + i % 2, 4, 20);
  testsupport::DibSurface surface(host.width(), host.height());
  const CRect client(0, 0, host.width(), host.height());
  host.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, list->GetRect());
  return MicrosecondsPerCall(200, [&](int i) {
    list->UpdateDelayTime(30 + i % 50);
    list->AddString(i % 2 ? L"Shift" : L"A", 2 + i % 2, 4, 0);
    host.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, list->GetRect());
  });
}

}  // namespace

int wmain() {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  const double few = OneEvent(100);
  const double many = OneEvent(5000);
  std::printf("macro event list 370 x 570, one recorded event (delay, row, repaint)\n");
  std::printf("100 rows                       %10.1f us\n", few);
  std::printf("5,000 rows                     %10.1f us\n", many);
  return 0;
}
