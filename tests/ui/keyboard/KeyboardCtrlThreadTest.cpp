// The on-screen keyboard under the device worker's stream of samples: the window's thread
// paints and rebuilds the key list while a second thread calls the live setters, some of
// them inside the control's lock, as the worker does.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "Stopwatch.h"
#include "layouts/KeyboardFill.h"
#include "layouts/LayoutFile.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

using TESK::KEY_INFO;
using TESK::KeyboardCtrl;

constexpr int kCalls = 100000;
constexpr int kFinalCalls = 10000;  // made after the last rebuild
constexpr double kBoundMs = 120000;
constexpr int kMinRebuilds = 20;

// The final values the worker leaves on key i.
int FinalTravel(size_t i) { return i % 2 ? 40 : 0; }
COLORREF FinalColour(size_t i) { return RGB(i, 255 - i, 7); }

TEST(KeyboardThreadTest, WorkerSamplesWhileTheWindowPaintsAndRebuilds) {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::ControlHost host(1400, 860);
  const testsupport::Layout layout = testsupport::ReadLayout(testsupport::LayoutPath("Lynt 80"));
  ASSERT_EQ(87u, layout.keys.size());
  auto* keyboard = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 257, CRect(280, 100, 1280, 480));
  ASSERT_NE(nullptr, keyboard);
  keyboard->SetKeyboardCtrlMode(TESK::KBMODE_PERF);
  testsupport::FillKeyboard(*keyboard, layout);
  std::vector<int> codes;
  for (const testsupport::LayoutKey& key : layout.keys) codes.push_back(key.code);

  std::atomic<bool> rebuildsOver{false}, firstPhaseDone{false}, done{false};
  std::thread worker([&] {
    auto sample = [&](int n) {
      const int code = codes[static_cast<size_t>(n) % codes.size()];
      switch (n % 3) {
        case 0:
          keyboard->SetKeyActuation(code, n % 41);
          break;
        case 1:
          keyboard->SetKeyCalibration(code, n % 5, n % 256, 1, n % 100);
          break;
        default:
          keyboard->SetKeyColor(code, static_cast<COLORREF>(n & 0xFFFFFF));
      }
    };
    for (int n = 0; n < kCalls - kFinalCalls; ++n) {
      if (n % 10 == 0) {
        // Inside the lock, as the worker's loops are: the setters take it again.
        keyboard->EnterCriSec();
        for (int k = 0; k < 10; ++k) sample(n + k);
        keyboard->LeaveCriSec();
        n += 9;
      } else {
        sample(n);
      }
      if (n % 1000 == 0) Sleep(1);  // so that paints and rebuilds fall between the samples
    }
    firstPhaseDone = true;
    while (!rebuildsOver) Sleep(1);
    for (int n = 0; n < kFinalCalls - 3 * static_cast<int>(codes.size()); ++n) sample(n);
    for (size_t i = 0; i < codes.size(); ++i) {
      keyboard->SetKeyColor(codes[i], FinalColour(i));
      keyboard->SetKeyCalibration(codes[i], 0, 255, 0, 0);
      keyboard->SetKeyActuation(codes[i], FinalTravel(i));
    }
    done = true;
  });

  testsupport::DibSurface surface(1400, 860);
  const testsupport::ElapsedTime elapsed;
  int rebuilds = 0, paints = 0;
  while (!done && elapsed.Ms() < kBoundMs) {
    if (!firstPhaseDone || rebuilds < kMinRebuilds) {
      testsupport::FillKeyboard(*keyboard, layout);
      ++rebuilds;
    } else {
      rebuildsOver = true;
    }
    keyboard->SetUpdate(0, 0);
    host.Compose(surface);
    ++paints;
    testsupport::PumpFor(1);
  }
  if (!done) {
    std::fprintf(stderr, "the worker did not finish within %.0f ms\n", kBoundMs);
    std::_Exit(1);  // a stuck worker would outlive the control it works on
  }
  worker.join();
  // The worker's requests went to the engine's queue, never up the owner chain, whose panels
  // take locks that a paint holds while it waits for the key lock.
  const std::vector<testsupport::HostEvent> events = host.Events();
  EXPECT_EQ(0, std::count_if(events.begin(), events.end(), [](const testsupport::HostEvent& e) {
              return e.thread != GetCurrentThreadId();
            }));
  std::printf("%d rebuilds, %d paints in %.0f ms\n", rebuilds, paints, elapsed.Ms());

  // The worker's last requests reach the window's thread through the engine's queue: the
  // next paint renders the control again and shows the last values.
  RedrawWindow(host.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  host.Compose(surface);
  keyboard->EnterCriSec();
  const std::vector<KEY_INFO*> keys = keyboard->GetKeyItems();
  ASSERT_EQ(87u, keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(FinalColour(i), keys[i]->color) << i;
    EXPECT_EQ(255, keys[i]->calib_progress) << i;
    // The key's upper part lies in its travel bar exactly when the travel is 40.
    const testsupport::LayoutKey& k = layout.keys[i];
    const int x = 280 + (1000 - layout.width) / 2 + k.left + 4;
    const int y = 100 + (380 - layout.height) / 2 + k.top + 12;
    EXPECT_EQ(FinalTravel(i) == 40, surface.Pixel(x, y) == 0xC8C8C8u) << "key " << i;
  }
  keyboard->LeaveCriSec();
}

}  // namespace
