#include "app/pages/Visualizer.h"

#include "SyntheticCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

namespace {

constexpr uint32_t kBackground = 0x000000;

// A visualizer over a synthetic source, initialised and active, driven pass by pass.
struct SyntheticVisualizer {
  explicit SyntheticVisualizer(bool hasEndpoint = true,
                               SyntheticCapture::Format format = SyntheticCapture::Format::StereoFloat) {
    auto capture = std::make_unique<SyntheticCapture>(hasEndpoint, format);
    source = capture.get();
    closed = capture->closed;
    visualizer = std::make_unique<Visualizer>(std::move(capture));
    visualizer->Init();
    visualizer->m_active = true;
  }
  void Passes(int n) {
    for (int i = 0; i < n; ++i) visualizer->WorkerPass();
  }
  // Feeds one pass worth (15 ms) of tone packets before each pass.
  void TonePasses(double frequency, double amplitude, int n) {
    for (int i = 0; i < n; ++i) {
      source->AddTone({frequency}, amplitude, 15);
      visualizer->WorkerPass();
    }
  }
  const float* Levels() const { return visualizer->DisplayLevels(); }
  int PeakColumn() const { return int(std::max_element(Levels(), Levels() + kSpectrumColumns) - Levels()); }
  bool NoBars() const {
    bool none = true;
    visualizer->ReadFrontFrame([&](const MusicLayer& frame) {
      for (const auto& row : frame)
        for (uint32_t p : row) none &= p == kBackground;
    });
    return none;
  }
  bool AllFinite() const {
    return std::all_of(Levels(), Levels() + kSpectrumColumns, [](float l) { return std::isfinite(l); });
  }

  SyntheticCapture* source = nullptr;
  std::shared_ptr<std::atomic<bool>> closed;
  std::unique_ptr<Visualizer> visualizer;
};

// Tone bins: the ring holds one sample per two frames, each twice, so bin k is k x 93.75 Hz
// and covers columns 4k .. 4k + 3.
double ToneCenterColumn(double frequency) { return 4.0 * frequency / 93.75 + 1.5; }

}  // namespace

TEST(Visualizer, AnswersOnlyItsTwoInterfacesAndIsNotCounted) {
  SyntheticVisualizer v;
  void* object = nullptr;
  EXPECT_EQ(v.visualizer->QueryInterface(__uuidof(IUnknown), &object), S_OK);
  EXPECT_EQ(object, static_cast<IMMNotificationClient*>(v.visualizer.get()));
  EXPECT_EQ(v.visualizer->QueryInterface(__uuidof(IMMNotificationClient), &object), S_OK);
  EXPECT_EQ(v.visualizer->QueryInterface(__uuidof(IMMDeviceEnumerator), &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(v.visualizer->AddRef(), 1u);
  EXPECT_EQ(v.visualizer->Release(), 1u);
  EXPECT_EQ(v.source->registered, static_cast<IMMNotificationClient*>(v.visualizer.get()));
}

TEST(Visualizer, InitListsTheDefaultLoopbackEndpointAndStartsCapture) {
  SyntheticVisualizer v;
  EXPECT_EQ(v.visualizer->DeviceNames(), std::vector<std::wstring>{L"Default Loopback Device"});
  EXPECT_TRUE(v.source->Capturing());
  EXPECT_TRUE(v.source->lastLoopback);
  EXPECT_EQ(v.visualizer->m_gain, 270);
  EXPECT_EQ(v.visualizer->m_foreStyle, 17);
  EXPECT_EQ(v.visualizer->m_backBrightness, 100);
}

TEST(Visualizer, TonesLandInTheirBinsColumns) {
  for (double frequency : {1000.0, 3000.0}) {
    SyntheticVisualizer v;
    v.visualizer->m_gain = 100;
    v.TonePasses(frequency, 0.1, 10);
    const double center = ToneCenterColumn(frequency);
    const int peak = v.PeakColumn();
    EXPECT_LE(std::abs(peak - center), 6.0) << frequency << " Hz peaks at column " << peak;
    const float top = v.Levels()[peak];
    EXPECT_GT(top, 0.0f) << frequency << " Hz";
    EXPECT_LT(v.Levels()[peak + 40], top / 4) << frequency << " Hz, 40 columns above";
    EXPECT_LT(v.Levels()[peak - 40], top / 4) << frequency << " Hz, 40 columns below";
  }
}

TEST(Visualizer, SilenceDecaysToTheBackgroundWithoutABarInRowZero) {
  SyntheticVisualizer v;
  v.visualizer->m_gain = 100;
  v.TonePasses(1000.0, 0.1, 5);
  ASSERT_FALSE(v.NoBars());
  for (int i = 0; i < 200; ++i) {
    v.source->AddSilence(15);
    v.visualizer->WorkerPass();
  }
  EXPECT_TRUE(std::all_of(v.Levels(), v.Levels() + kSpectrumColumns, [](float l) { return l == 0.0f; }));
  EXPECT_TRUE(v.NoBars());
}

TEST(Visualizer, AFullScaleSquareKeepsLevelsAtMostOne) {
  SyntheticVisualizer v;
  v.visualizer->m_gain = 1000;
  for (int i = 0; i < 10; ++i) {
    v.source->AddSquare(400.0, 15);
    v.visualizer->WorkerPass();
    for (int c = 0; c < kSpectrumColumns; ++c) ASSERT_LE(v.Levels()[c], 1.0f) << "column " << c;
  }
}

TEST(Visualizer, NaNAndInfinityBurstsLeaveLevelsFiniteAndTheToneReturns) {
  for (float burst : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
    SyntheticVisualizer v;
    v.visualizer->m_gain = 100;
    v.TonePasses(1000.0, 0.1, 5);
    v.source->AddBurst(burst, 30);
    v.visualizer->WorkerPass();
    EXPECT_TRUE(v.AllFinite()) << "burst " << burst;
    int passes = 0;
    while (passes < 20 && std::abs(v.PeakColumn() - ToneCenterColumn(1000.0)) > 6.0) {
      v.TonePasses(1000.0, 0.1, 1);
      ++passes;
    }
    EXPECT_TRUE(v.AllFinite()) << "burst " << burst;
    EXPECT_LE(std::abs(v.PeakColumn() - ToneCenterColumn(1000.0)), 6.0) << "burst " << burst;
    EXPECT_LT(passes, 20) << "burst " << burst;
  }
}

TEST(Visualizer, SixteenBitStreamsAndSilentPacketsDrawNoBars) {
  {
    SyntheticVisualizer v(true, SyntheticCapture::Format::Stereo16);
    v.visualizer->m_gain = 100;
    v.TonePasses(1000.0, 0.5, 10);
    EXPECT_TRUE(v.NoBars());
    EXPECT_EQ(v.source->releases.back(), 0u);
    EXPECT_EQ(v.source->QueuedPackets(), 0u) << "16-bit packets are still taken and released";
  }
  {
    SyntheticVisualizer v;
    v.visualizer->m_gain = 100;
    std::vector<float> loud(960);
    for (size_t i = 0; i < loud.size(); ++i) loud[i] = (i / 8) % 2 ? 0.9f : -0.9f;
    for (int i = 0; i < 10; ++i) v.source->AddPacket(loud, true);
    v.Passes(1);
    EXPECT_TRUE(v.NoBars());
  }
}

TEST(Visualizer, APacketIsReadOnlyInWholeGroupsWithinItsFrames) {
  SyntheticVisualizer v(true, SyntheticCapture::Format::MonoFloat);
  v.visualizer->m_gain = 1;
  v.source->AddPacket({0.5f, 0.5f, 0.5f, 0.5f, 100.0f});
  v.visualizer->AnalyzeSpectrum();
  ASSERT_EQ(v.source->releases.size(), 2u);
  EXPECT_EQ(v.source->releases[0], 5u);
  EXPECT_EQ(v.source->releases[1], 0u);
}

TEST(Visualizer, AFailingReadReleasesTheClientsUntilARestart) {
  SyntheticVisualizer v;
  v.source->FailNextRead(E_FAIL);
  v.source->AddTone({1000.0}, 0.1, 60);
  v.Passes(1);
  EXPECT_FALSE(v.source->Capturing());
  EXPECT_EQ(v.source->packetsRead, 0);
  EXPECT_EQ(v.visualizer->LastCaptureFailure().hr, E_FAIL);
  v.Passes(3);
  EXPECT_EQ(v.source->packetsRead, 0) << "nothing is read without a restart";
  v.visualizer->StartCapture();
  v.Passes(1);
  EXPECT_GT(v.source->packetsRead, 0);
}

TEST(Visualizer, ADefaultDeviceChangeRestartsCaptureOnTheThreadsNextPass) {
  for (bool active : {true, false}) {
    SyntheticVisualizer v;
    v.visualizer->m_active = active;
    const int starts = v.source->starts;
    const int listings = v.source->listings;
    EXPECT_EQ(v.visualizer->OnDefaultDeviceChanged(eCapture, eConsole, L"mic"), S_OK);
    EXPECT_EQ(v.visualizer->OnDefaultDeviceChanged(eRender, eMultimedia, L"x"), S_OK);
    v.Passes(1);
    EXPECT_EQ(v.source->starts, starts) << "other flows and roles are ignored";
    EXPECT_EQ(v.visualizer->OnDefaultDeviceChanged(eRender, eConsole, L"new"), S_OK);
    EXPECT_EQ(v.source->starts, starts) << "the callback itself only notes the change";
    v.Passes(1);
    EXPECT_EQ(v.source->listings, listings + 1) << (active ? "active" : "inactive");
    EXPECT_EQ(v.source->starts, starts + 1) << (active ? "active" : "inactive");
    EXPECT_TRUE(v.source->Capturing());
  }
}

TEST(Visualizer, RequestedRestartsRunOnTheThread) {
  SyntheticVisualizer v;
  v.visualizer->m_active = false;
  const int starts = v.source->starts;
  v.visualizer->RequestCaptureRestart();
  v.Passes(1);
  EXPECT_EQ(v.source->starts, starts + 1);
}

TEST(Visualizer, WithoutAnEndpointNothingIsCapturedAndFramesShowTheBackground) {
  SyntheticVisualizer v(false);
  v.visualizer->m_backStyle = 7;
  v.visualizer->m_backBrightness = 100;
  EXPECT_TRUE(v.visualizer->DeviceNames().empty());
  EXPECT_FALSE(v.visualizer->Capturing());
  EXPECT_EQ(v.visualizer->LastCaptureFailure().hr, HRESULT(0x80070490));
  v.Passes(3);
  const uint32_t red = ScaleColor(0x0000FF, 255);
  bool background = true;
  v.visualizer->ReadFrontFrame([&](const MusicLayer& frame) {
    for (const auto& row : frame)
      for (uint32_t p : row) background &= p == red;
  });
  EXPECT_TRUE(background);
}

TEST(Visualizer, CompositionDrawsBarsAboveTheirLevelAndRowZeroFromTheMiddle) {
  SyntheticVisualizer v(false);
  Visualizer& z = *v.visualizer;
  for (auto& row : z.m_backLayer) std::fill(std::begin(row), std::end(row), 0x111111u);
  for (auto& row : z.m_foreLayer) std::fill(std::begin(row), std::end(row), 0x222222u);
  float* levels = z.MutableDisplayLevels();
  std::fill(levels, levels + kSpectrumColumns, 0.0f);
  levels[10] = 32.0f / 64.0f;          // exactly at row 32's threshold: not above it
  levels[11] = 32.0f / 64.0f + 1e-4f;  // just above
  levels[5] = 0.55f;                   // row 0: distance from the middle below 0.5
  z.ComposeFrame();
  z.PublishFrame();
  z.ReadFrontFrame([&](const MusicLayer& f) {
    EXPECT_EQ(f[32][10], 0x111111u);
    EXPECT_EQ(f[33][10], 0x222222u);
    EXPECT_EQ(f[32][11], 0x222222u);
    EXPECT_EQ(f[31][11], 0x111111u);
    EXPECT_EQ(f[63][12], 0x111111u);
    EXPECT_EQ(f[0][127], 0x222222u);
    EXPECT_EQ(f[0][128], 0x222222u);
    EXPECT_EQ(f[0][70], 0x222222u);   // 57 / 128 < 0.5
    EXPECT_EQ(f[0][60], 0x111111u);   // 67 / 128 > 0.5
    EXPECT_EQ(f[0][180], 0x222222u);
    EXPECT_EQ(f[0][200], 0x111111u);
    EXPECT_EQ(f[0][0], 0x111111u);
    EXPECT_EQ(f[0][255], 0x111111u);
  });
}

TEST(Visualizer, ThreadStartsAndEndsWithinAPass) {
  for (bool active : {true, false}) {
    SyntheticVisualizer v;
    v.visualizer->m_active = active;
    v.visualizer->StartWorker();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const auto start = std::chrono::steady_clock::now();
    auto closed = v.closed;
    v.visualizer.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
    EXPECT_TRUE(*closed) << "the destructor unregisters and releases the capture";
  }
}

TEST(Visualizer, ReadersNeverSeeAFrameInProgress) {
  SyntheticVisualizer v;
  v.visualizer->m_backBrightness = 100;
  v.visualizer->m_hueStep = 0;
  v.visualizer->StartWorker();
  const uint32_t white = ScaleColor(0xFFFFFF, 255), red = ScaleColor(0x0000FF, 255);
  std::atomic<bool> flipping{true};
  std::thread flipper([&] {
    for (int i = 0; flipping; ++i) {
      v.visualizer->m_backStyle = i % 2 ? 6 : 7;
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
  });
  // Reads for a second and a half, as fast as a reader can, while frames are published.
  int mixed = 0, reads = 0;
  bool sawWhite = false, sawRed = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (std::chrono::steady_clock::now() < deadline || reads < 10000) {
    ++reads;
    v.visualizer->ReadFrontFrame([&](const MusicLayer& f) {
      const uint32_t first = f[0][0];
      sawWhite |= first == white;
      sawRed |= first == red;
      for (const auto& row : f)
        for (uint32_t p : row)
          if (p != first) {
            ++mixed;
            return;
          }
    });
  }
  flipping = false;
  flipper.join();
  EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
  EXPECT_TRUE(sawWhite && sawRed);
}
