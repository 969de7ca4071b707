#include "app/pages/CoreAudioCapture.h"
#include "app/pages/Visualizer.h"

#include <gtest/gtest.h>

#include <mmreg.h>

#include <chrono>
#include <cstring>
#include <thread>

TEST(CoreAudioCapture, TellsFloatMixFormatsFromOthers) {
  WAVEFORMATEX plain{};
  plain.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
  plain.wBitsPerSample = 32;
  EXPECT_TRUE(IsFloat32Format(plain));
  plain.wFormatTag = WAVE_FORMAT_PCM;
  plain.wBitsPerSample = 16;
  EXPECT_FALSE(IsFloat32Format(plain));

  WAVEFORMATEXTENSIBLE extensible{};
  extensible.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  extensible.Format.wBitsPerSample = 32;
  extensible.Format.cbSize = 22;
  extensible.SubFormat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
  EXPECT_TRUE(IsFloat32Format(extensible.Format));
  extensible.SubFormat.Data1 = 1;  // integer samples
  EXPECT_FALSE(IsFloat32Format(extensible.Format));
}

// Wine here has no sound server: there is no default render endpoint.
TEST(CoreAudioCapture, WithoutASoundServerTheVisualizerRunsOnTheBackgroundAlone) {
  auto visualizer = std::make_unique<Visualizer>();
  visualizer->Init();
  visualizer->StartWorker();
  if (!visualizer->DeviceNames().empty()) GTEST_SKIP() << "this machine has a sound device";
  EXPECT_FALSE(visualizer->Capturing());
  const CaptureFailure failure = visualizer->LastCaptureFailure();
  EXPECT_STREQ(failure.step, "GetDefaultAudioEndpoint");
  EXPECT_TRUE(FAILED(failure.hr));
  visualizer->m_backStyle = 9;
  visualizer->m_active = true;
  visualizer->StartCapture();
  visualizer->RequestCaptureRestart();
  EXPECT_EQ(visualizer->OnDefaultDeviceChanged(eRender, eConsole, L"none"), S_OK);
  const uint32_t yellow = ScaleColor(0x00FFFF, 255);
  bool background = false;
  for (int i = 0; i < 100 && !background; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    visualizer->ReadFrontFrame([&](const MusicLayer& frame) {
      background = true;
      for (const auto& row : frame)
        for (uint32_t p : row) background &= p == yellow;
    });
  }
  EXPECT_TRUE(background);
  visualizer.reset();
}
