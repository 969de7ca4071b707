// Benchmark (not a test) of the music light mode. Times one pass of the music visualizer: 15 ms
// of tone packets read and analysed, both layers drawn and the frame composed and published,
// for bar styles 6 (one colour), 17 (a sine per column) and 4 (atan2 per pixel), the
// background in the same style at 100 %; microseconds per pass against the 15 ms period.
// Then one SendMusicFrame of the real main window (the page fixture) with the simulated
// Lynt 80 (87 keys) connected in the process: the picture sampled per key onto the lighting
// picture and written to the keyboard's music area.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "MainWindowFixture.h"
#include "Stopwatch.h"
#include "SyntheticCapture.h"
#include "app/pages/MusicStyles.h"
#include "app/pages/Visualizer.h"
#include "device/HidDeviceManager.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/controls/MTabCtrl.h"

namespace {

void TimePasses() {
  constexpr int kPasses = 400;
  for (int style : {6, 17, 4}) {
    auto capture = std::make_unique<SyntheticCapture>();
    SyntheticCapture* source = capture.get();
    Visualizer visualizer(std::move(capture));
    visualizer.Init();
    visualizer.m_active = true;
    visualizer.m_gain = 100;
    visualizer.m_foreStyle = style;
    visualizer.m_backStyle = style;
    // The packets are made before timing; the pass takes them from the queue.
    for (int i = 0; i < kPasses; ++i) source->AddTone({1000.0, 3000.0}, 0.1, 15);
    const double us = testsupport::MicrosecondsPerCall(kPasses, [&](int) { visualizer.WorkerPass(); });
    std::printf("style %2d: %8.1f us per pass (%.1f %% of the 15 ms period)\n", style, us, us / 150.0);
  }
}

class SendMusicFrameBench : public testsupport::MainWindowFixture {
 public:
  void TestBody() override {}

  void Run() {
    SetUp();
    Connected();
    KeyboardDlg& dlg = *m_dlg;
    dlg.m_tabMain->SetSelectItem(4);  // the lighting page, as in the music mode
    Settle();
    StopAndDrain();  // this thread takes the worker's place
    // A lit picture, every pixel its own colour, published once: each call samples it whole.
    Visualizer& visualizer = dlg.m_visualizer;
    for (int y = 0; y < kMusicHeight; ++y) {
      for (int x = 0; x < kMusicWidth; ++x) (*visualizer.m_drawFrame)[y][x] = 0x010000u | y << 8 | x;
    }
    visualizer.PublishFrame();
    constexpr int kCalls = 200;
    const size_t mark = simkb::Bus::Get().Mark();
    const double us = testsupport::MicrosecondsPerCall(kCalls, [&](int) { dlg.SendMusicFrame(); });
    int frames = 0;
    for (const simkb::Frame& frame : simkb::Bus::Get().FramesSince(mark)) frames += frame.command == CMD_WRITE_MUSIC_FRAME;
    std::printf("SendMusicFrame, %d keys: %8.1f us per call (%d music frames per call)\n", KeysOnMatrix(dlg), us,
                frames / kCalls);
    TearDown();
  }

 private:
  static int KeysOnMatrix(KeyboardDlg& dlg) {
    int keys = 0;
    for (int r = 0; r < dlg.m_rowCount; ++r) {
      for (int c = 0; c < dlg.m_colCount; ++c) keys += dlg.m_keyMatrix[r][c] != 0;
    }
    return keys;
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  TimePasses();
  SendMusicFrameBench bench;
  bench.Run();
  return 0;
}
