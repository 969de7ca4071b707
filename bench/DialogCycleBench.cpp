// Creates, paints and destroys a dialog 1,000 times while its multimedia timer ticks: a tab
// strip with two pages, an animated GIF and a still picture on the first page, the balloon
// tip and the drop shadow. After 100 rounds to warm the caches up and again at the end it
// counts the process's windows, GDI and USER objects (GetGuiResources; it answers 0 under
// Wine, which counts none) and the heap in use, prints both and the time per round, and
// exits 1 when anything grew. Run by hand; not a test.
#include <windows.h>

#include <cstdio>

#include "BitmapProbe.h"
#include "GifWriter.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "Stopwatch.h"
#include "ui/controls/CGifPicture.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/core/MDialog.h"
#include "ui/core/MPanel.h"

using namespace TESK;

namespace {

constexpr int kWarmUp = 100;
constexpr int kRounds = 1000;
// The heap may settle a little (allocator bookkeeping); a leak of one object a round is more.
constexpr long long kHeapSlack = 64 * 1024;

class CycleDialog : public MDialog {
public:
  void InitUI(CRect) override {
    auto* tabs = static_cast<MTabCtrl*>(CreateControl(L"MTabCtrl", 10, CRect(0, 0, 400, 300), L"", 1, 1));
    tabs->SetTabCtrlHeight(24);
    auto* first = static_cast<MPanel*>(tabs->CreatePanel(L"MTabLayout", 11, CRect(0, 24, 400, 300)));
    MControl* second = tabs->CreatePanel(L"MTabLayout", 12, CRect(0, 24, 400, 300));
    tabs->InsertItem(100, L"one", nullptr, first, -1, 100);
    tabs->InsertItem(101, L"two", nullptr, second, -1, 100);
    tabs->SetSelectItem(0);
    auto* gif = static_cast<CGifPicture*>(first->CreateControl(L"CGifPicture", 20, CRect(10, 40, 58, 76), L"", 1, 1));
    gif->SetImage(L"cycle_bench.gif", 1);
    gif->SetRunState(1, 0);
    auto* still = static_cast<MPicture*>(first->CreateControl(L"MPicture", 21, CRect(80, 40, 128, 76), L"", 1, 1));
    still->SetImage(L"cycle_bench.png", 1);
    SetMTimer(5);
    CreateShadow(1, false);
    SetAirBladderMsg(L"A tip", POINT{150, 150}, static_cast<AIRBLADDER_TYPE>(1));
  }
};

struct Counts {
  int windows = 0;
  DWORD gdi = 0;
  DWORD user = 0;
  long long heap = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

long long HeapInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  long long used = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return used;
}

Counts Measure() {
  Counts c;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&c.windows));
  c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  c.heap = HeapInUse();
  return c;
}

void Round() {
  auto* dialog = new CycleDialog();
  if (dialog->Create(nullptr, L"cycle", WS_POPUP | WS_VISIBLE, 0, CRect(200, 200, 600, 500))) {
    UpdateWindow(dialog->GetSafeHwnd());
    testsupport::PumpFor(0);
    dialog->DestroyWindow();
  }
  testsupport::PumpFor(0);
  delete dialog;
}

}  // namespace

int wmain() {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::WriteSkinGif(L"cycle_bench.gif", 48, 36, {0xFF0000, 0x00FF00, 0x0000FF}, 2);
  if (!testsupport::WriteSkin(L"cycle_bench.png", 48, 36, 0xFF336699)) return 1;
  for (int i = 0; i < kWarmUp; ++i) Round();
  const Counts before = Measure();
  const double perRound = testsupport::MicrosecondsPerCall(kRounds, [](int) { Round(); });
  const Counts after = Measure();
  std::printf("dialog with tab strip, pages, pictures, balloon and shadow; %d rounds after %d\n", kRounds, kWarmUp);
  std::printf("create, paint and destroy  %10.1f us a round\n", perRound);
  std::printf("windows                    %10d -> %d\n", before.windows, after.windows);
  std::printf("GDI objects                %10lu -> %lu\n", before.gdi, after.gdi);
  std::printf("USER objects               %10lu -> %lu\n", before.user, after.user);
  std::printf("heap in use (bytes)        %10lld -> %lld\n", before.heap, after.heap);
  const bool flat = after.windows <= before.windows && after.gdi <= before.gdi && after.user <= before.user &&
                    after.heap - before.heap <= kHeapSlack;
  std::printf("%s\n", flat ? "flat" : "GREW");
  return flat ? 0 : 1;
}
