// The music visualizer: captures what the default output device plays, turns it into 256
// column levels by a windowed FFT and draws, about every 15 ms, a 256 x 64 picture of bars
// over a background (both in one of the colour styles of MusicStyles.h).
//
// Owned by the main window as a member; it is not reference counted (AddRef and Release
// return 1) and lives as long as its owner. Threads:
//  - the owner's start-up task calls Init and StartWorker once;
//  - the visualizer's own thread (WorkerLoop, in the multithreaded apartment) analyses and
//    draws while m_active is set; it also carries out capture restarts that others ask for
//    (RequestCaptureRestart) and default-device changes, since the notification callback may
//    neither release endpoint objects nor wait;
//  - the UI thread writes the settings (single atomic words) and may call StartCapture;
//  - readers take the published frame through ReadFrontFrame.
// Locks: m_captureLock guards the capture object and the endpoint lists; m_frameLock guards
// the frame pointers and the published frame while a reader copies from it. They are never
// held together. The destructor joins the thread, then unregisters and releases everything.
#pragma once

#include "app/pages/AudioCapture.h"
#include "app/pages/MusicStyles.h"
#include "app/pages/SpectrumMath.h"

#include <mmdeviceapi.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Visualizer : public IMMNotificationClient {
public:
  Visualizer();  // captures through Core Audio
  explicit Visualizer(std::unique_ptr<AudioCapture> capture);
  virtual ~Visualizer();
  Visualizer(const Visualizer&) = delete;
  Visualizer& operator=(const Visualizer&) = delete;

  // IUnknown, IMMNotificationClient (slot order).
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR id, DWORD state) override;
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR id, const PROPERTYKEY key) override;

  void Init();
  void StartWorker();
  // Stops the thread and waits for it (at most one pass). Called by the destructor.
  void StopWorker();
  // (Re)starts capture on the endpoint at m_deviceIndex, synchronously.
  void StartCapture();
  // Has the visualizer's thread restart capture at its next pass (also while inactive).
  void RequestCaptureRestart();

  // One pass of the thread: pending restarts, then, while active, analysis, drawing,
  // composition and publication. Returns whether a frame was drawn.
  bool WorkerPass();
  void AnalyzeSpectrum();
  void DrawColorStyle(MusicLayer& layer, int style, int percent);
  // Builds m_drawFrame from the two layers and the display levels.
  void ComposeFrame();
  void PublishFrame();

  // Calls read(frame) with the last published frame under the frame lock.
  template <class Reader>
  void ReadFrontFrame(Reader&& read) const {
    std::lock_guard<std::mutex> lock(m_frameLock);
    read(static_cast<const MusicLayer&>(*m_frontFrame));
  }

  CaptureFailure LastCaptureFailure() const;
  bool Capturing() const;
  std::vector<std::wstring> DeviceNames() const;

  const float* Levels() const { return m_levels; }
  const float* DisplayLevels() const { return m_displayLevels; }
  float* MutableDisplayLevels() { return m_displayLevels; }

  // Fields of the picture, in the order the design gives them.
  float m_levels[kSpectrumColumns] = {};
  std::atomic<int> m_gain{270};
  int m_smoothWidth = 8;
  int m_decay = 80;
  std::atomic<int> m_deviceIndex{0};
  MusicLayer m_backLayer = {};
  MusicLayer m_foreLayer = {};
  MusicLayer m_frames[2] = {};
  MusicLayer* m_frontFrame = &m_frames[1];
  MusicLayer* m_drawFrame = &m_frames[0];
  float m_hueStep = 500.0f;
  std::atomic<int> m_backBrightness{100};
  std::atomic<int> m_backStyle{0};
  float m_weightBase = 0.04f;
  float m_weightSlope = 0.5f;
  std::atomic<int> m_foreStyle{17};
  std::vector<std::wstring> m_deviceNames;
  std::vector<bool> m_isCaptureDevice;
  float m_hue = 0.0f;
  float m_window[kSpectrumColumns] = {};
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_active{false};

private:
  void EnumerateDevices();
  void ListDefaultEndpoint();  // under m_captureLock
  void StartCaptureLocked();
  void ReadPackets();          // under m_captureLock
  void PushSample(float sample);
  void WorkerLoop();

  std::unique_ptr<AudioCapture> m_capture;
  std::thread m_thread;
  mutable std::mutex m_captureLock;
  mutable std::mutex m_frameLock;
  std::mutex m_wakeLock;
  std::condition_variable m_wake;
  std::atomic<bool> m_deviceChanged{false};
  std::atomic<bool> m_restartRequested{false};
  bool m_opened = false;

  // Analysis state: the latest 256 samples, each twice; the levels the frame is drawn
  // from; the per-bin weights.
  float m_ring[kFftSize] = {};
  float m_displayLevels[kSpectrumColumns] = {};
  float m_weights[kSpectrumColumns] = {};
};

// A captured sample after the gain: 0 when not finite, else within +-10^4 so that the FFT
// sums stay finite however loud the input.
float SanitizeSample(float sample);
// A level is 0 when not finite or below 10^-6.
float SanitizeLevel(float level);
