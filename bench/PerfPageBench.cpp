// Benchmark (not a test): the performance page of the real main window (the page fixture)
// with the simulated Lynt 80 (87 keys) connected and every key checked. Times one
// single-distance slider release (applying the distance, the row copy into the store and the
// queued block write until its last chunk has reached the keyboard), and one drag step of the
// key-travel picture (the keys' actuation and the page's stored value).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

class PerfPageBench : public testsupport::MainWindowFixture {
 public:
  void TestBody() override {}

  void Run() {
    SetUp();
    Connected();
    KeyboardDlg& dlg = *m_dlg;
    dlg.m_tabMain->SetSelectItem(1);
    dlg.m_keyboardPerf->ResetAllItemCheck(1);
    dlg.m_switchRapidTrigger->SetCheck(1);
    dlg.m_switchRapidTrigger->SendMessageW(NOTIFY_CLICKED, 0, 0);
    dlg.m_switchSensitivity->SetCheck(0);
    dlg.m_switchSensitivity->SendMessageW(NOTIFY_CLICKED, 0, 0);
    Settle();
    std::printf("keys on the picture: %zu\n", dlg.m_keyboardPerf->GetKeyItems().size());

    constexpr int kRuns = 20;
    double release = 0, written = 0, drag = 0;
    for (int run = 0; run < kRuns; ++run) {
      const size_t mark = simkb::Bus::Get().Mark();
      dlg.m_sliderSensitivity->SetProgress(10 + run);
      const Clock::time_point start = Clock::now();
      dlg.m_sliderSensitivity->SendMessageW(NOTIFY_CLICKED, 0, 0);
      release += Ms(start);
      testsupport::PumpUntil([&] { return LastBracketFrames(mark, CMD_WRITE_KEY_PERF) > 0; }, 10000);
      written += Ms(start);
      Settle();
      dlg.m_keyStroke->SetCurKeyActuation(60 + run);
      const Clock::time_point step = Clock::now();
      dlg.m_keyStroke->SendMessageW(NOTIFY_CHANGING, 0, 0);
      drag += Ms(step);
    }
    std::printf("slider release (apply, row copy, store): %.2f ms\n", release / kRuns);
    std::printf("release until the block's last chunk reached the keyboard: %.2f ms\n", written / kRuns);
    std::printf("travel picture drag step, every key checked: %.2f ms\n", drag / kRuns);
    TearDown();
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  PerfPageBench bench;
  bench.Run();
  return 0;
}
