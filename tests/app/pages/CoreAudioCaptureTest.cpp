#include "app/pages/CoreAudioCapture.h"
#include "app/pages/Visualizer.h"

#include <gtest/gtest.h>

#include <mmreg.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

namespace {

// Set by the ctest entry that runs beside the private sound server scripts/test starts.
bool BesideASoundServer() { return GetEnvironmentVariableW(L"TAVIR_SOUND_SERVER", nullptr, 0) > 0; }

// The rest of a visualizer's life once it failed to capture: a refresh's restart, a device
// change and the music mode's frames, which show the background alone (yellow); then its
// destruction. None of it may hang.
void RunsOnTheBackgroundAloneUntilDestroyed(std::unique_ptr<Visualizer> visualizer) {
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
  EXPECT_FALSE(visualizer->Capturing());
  visualizer.reset();
}

}  // namespace

// Wine here has no sound server: there is no default render endpoint.
TEST(CoreAudioCapture, WithoutASoundServerTheVisualizerRunsOnTheBackgroundAlone) {
  if (BesideASoundServer()) GTEST_SKIP() << "a sound server runs beside this entry";
  auto visualizer = std::make_unique<Visualizer>();
  visualizer->Init();
  visualizer->StartWorker();
  if (!visualizer->DeviceNames().empty()) GTEST_SKIP() << "this machine has a sound device";
  EXPECT_FALSE(visualizer->Capturing());
  const CaptureFailure failure = visualizer->LastCaptureFailure();
  EXPECT_STREQ(failure.step, "GetDefaultAudioEndpoint");
  EXPECT_TRUE(FAILED(failure.hr));
  RunsOnTheBackgroundAloneUntilDestroyed(std::move(visualizer));
}

// With a sound server whose only output is a null sink, Wine lists the default output and
// opens a shared loopback stream on it, but gives a render endpoint no capture service.
TEST(CoreAudioCapture, WithASoundServerTheRefusedLoopbackIsRecordedAndItsClientsReleased) {
  if (!BesideASoundServer()) GTEST_SKIP() << "runs in the entry beside the private sound server";
  constexpr HRESULT kWrongEndpointType = static_cast<HRESULT>(0x88890003);
  {
    // The capture runs on a thread of the multithreaded apartment, as the visualizer's worker.
    struct Apartment {
      HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      ~Apartment() {
        if (SUCCEEDED(hr)) CoUninitialize();
      }
    } apartment;
    ASSERT_TRUE(SUCCEEDED(apartment.hr));
    CoreAudioCapture capture;
    ASSERT_EQ(S_OK, capture.Open(nullptr));
    ASSERT_EQ(1u, capture.ListDefaultEndpoint());
    EXPECT_EQ(kWrongEndpointType, capture.Start(0, true));
    EXPECT_STREQ("GetService", capture.LastFailure().step) << "the stream's Initialize succeeded";
    EXPECT_FALSE(capture.Capturing());
    capture.Close();
  }
  auto visualizer = std::make_unique<Visualizer>();
  visualizer->Init();
  visualizer->StartWorker();
  EXPECT_EQ(std::vector<std::wstring>{L"Default Loopback Device"}, visualizer->DeviceNames());
  const CaptureFailure failure = visualizer->LastCaptureFailure();
  EXPECT_STREQ(failure.step, "GetService");
  EXPECT_EQ(kWrongEndpointType, failure.hr);
  RunsOnTheBackgroundAloneUntilDestroyed(std::move(visualizer));
}
