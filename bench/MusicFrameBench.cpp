// Times one pass of the music visualizer: 15 ms of tone packets read and analysed, both
// layers drawn and the frame composed and published, for bar styles 6 (one colour), 17 (a
// sine per column) and 4 (atan2 per pixel), the background in the same style at 100 %.
// Prints microseconds per pass against the 15 ms period. Run by hand; not a test.
#include <cstdio>
#include <memory>

#include "Stopwatch.h"
#include "SyntheticCapture.h"
#include "app/pages/Visualizer.h"

int wmain() {
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
  return 0;
}
