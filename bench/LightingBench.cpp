// Benchmark (not a test): the lighting page of the real main window (the page fixture) with the
// simulated Lynt 80 (87 keys) connected. Times one colour change in the user mode with every
// key selected (painting the picture, replacing the profile's per-key rows, and the queued
// colour write until its last chunk has reached the keyboard), and a drag of 20 steps over the
// palette in a single-colour mode: each step stores the colour and queues a light write, and
// the keyboard holds the last colour only once every queued write has run.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "app/pages/LightModes.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CirclePalette.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/LightTypeTab.h"

using namespace TESK;

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

constexpr int kLightTab = 4;
constexpr int kDragSteps = 20;
constexpr DWORD kPointerStepMs = 16;  // a pointer reporting at 60 Hz

class LightingBench : public testsupport::MainWindowFixture {
 public:
  void TestBody() override {}

  void Run() {
    SetUp();
    keyboard = &Connected();
    KeyboardDlg& dlg = *m_dlg;
    dlg.m_tabMain->SetSelectItem(kLightTab);
    Settle();
    std::printf("keys on the picture: %zu\n", dlg.m_keyboardLight->GetKeyItems().size());
    UserModeChange(dlg);
    PaletteDrag(dlg);
    TearDown();
  }

 private:
  void ChooseMode(KeyboardDlg& dlg, int mode) {
    dlg.m_lightTypeTab->SetCurData(mode);
    dlg.m_lightTypeTab->SendMessageW(NOTIFY_CLICKED, 0, 0);
  }

  void UserModeChange(KeyboardDlg& dlg) {
    ChooseMode(dlg, LIGHT_MODE_USER);
    Settle();
    dlg.m_keyboardLight->ResetAllItemCheck(1);
    constexpr int kRuns = 10;
    double paint = 0, written = 0;
    for (int run = 0; run < kRuns; ++run) {
      const size_t mark = simkb::Bus::Get().Mark();
      CColorButton* swatch = dlg.ColorButton(ID_LIGHT_COLOR_FIRST + run % 2);
      const Clock::time_point start = Clock::now();
      swatch->SendMessageW(NOTIFY_CLICKED, 0, 0);
      paint += Ms(start);
      testsupport::PumpUntil([&] { return LastBracketFrames(mark, CMD_WRITE_KEY_COLORS) > 0; }, 10000);
      written += Ms(start);
      Settle();
    }
    std::printf("user-mode colour change, 87 keys selected (paint, rows replaced): %.2f ms\n", paint / kRuns);
    std::printf("  until the colour write's last chunk reached the keyboard: %.2f ms\n", written / kRuns);
  }

  // The colour bytes (R, G, B) of the keyboard's first profile as 0x00BBGGRR.
  COLORREF KeyboardColor() {
    const simkb::Bytes config = keyboard->Read(simkb::Area::Config);
    return RGB(config[14], config[15], config[16]);
  }

  void PaletteDrag(KeyboardDlg& dlg) {
    ChooseMode(dlg, 2);
    Settle();
    // The palette picks the colour the window shows under the pointer: the window is shown.
    dlg.ShowWindow(SW_SHOW);
    RedrawWindow(dlg.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testsupport::PumpFor(300);
    CirclePalette* palette = dlg.m_palette;
    const CPoint centre = palette->GetRect().CenterPoint();
    constexpr int kRuns = 3;
    double drag = 0, held = 0, afterLast = 0, handlers = 0;
    size_t writes = 0;
    for (int run = 0; run < kRuns; ++run) {
      WaitIdle();
      TakeAppended();
      const auto at = [&](int step) {
        const double angle = 6.2831853 * (step + run * 7) / kDragSteps;
        return CPoint(centre.x + static_cast<int>(60 * std::cos(angle)), centre.y + static_cast<int>(60 * std::sin(angle)));
      };
      const auto point = [&](const CPoint& p) {
        POINT screen = {p.x, p.y};
        ClientToScreen(dlg.GetSafeHwnd(), &screen);
        SetCursorPos(screen.x, screen.y);
      };
      const Clock::time_point start = Clock::now();
      point(at(0));
      Clock::time_point handler = Clock::now();
      palette->OnControlLButtonDown(MK_LBUTTON, at(0));
      handlers += Ms(handler);
      for (int step = 1; step < kDragSteps; ++step) {
        testsupport::PumpFor(kPointerStepMs);
        point(at(step));
        handler = Clock::now();
        palette->OnControlMouseMove(MK_LBUTTON, at(step));
        handlers += Ms(handler);
      }
      palette->OnControlLButtonUp(0, at(kDragSteps - 1));
      const Clock::time_point released = Clock::now();
      drag += Ms(start);
      const COLORREF last = palette->GetSelectColor();
      testsupport::PumpUntil([&] { return dlg.TasksDone() && KeyboardColor() == last; }, 30000);
      held += Ms(start);
      afterLast += Ms(released);
      for (int id : TakeAppended()) writes += id == TASK_WRITE_LIGHT ? 1 : 0;
    }
    std::printf("palette drag of %d steps (%u ms apart): %.0f ms, %.1f light writes queued\n", kDragSteps,
                static_cast<unsigned>(kPointerStepMs), drag / kRuns, static_cast<double>(writes) / kRuns);
    std::printf("  of which in the palette's handlers (pick, store, queue): %.0f ms\n", handlers / kRuns);
    std::printf("  until the keyboard holds the last colour: %.0f ms from the press, %.0f ms from the release\n",
                held / kRuns, afterLast / kRuns);
  }

  simkb::Keyboard* keyboard = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  LightingBench bench;
  bench.Run();
  return 0;
}
