// Loopback capture of the default output device through the Windows Core Audio interfaces
// (MMDevice enumerator, shared-mode IAudioClient with the loopback flag, IAudioCaptureClient).
//
// Owned by the visualizer, which serialises every call under its capture lock. The objects
// are created in the multithreaded apartment of the thread that opens it; the endpoint
// objects are free-threaded, so the visualizer's own thread (also in that apartment) uses and
// releases them.
#pragma once

#include "app/pages/AudioCapture.h"

#include <string>
#include <vector>

struct IMMDeviceEnumerator;
struct IMMDevice;
struct IAudioClient;
struct IAudioCaptureClient;

class CoreAudioCapture : public AudioCapture {
public:
  CoreAudioCapture() = default;
  ~CoreAudioCapture() override;
  CoreAudioCapture(const CoreAudioCapture&) = delete;
  CoreAudioCapture& operator=(const CoreAudioCapture&) = delete;

  HRESULT Open(IMMNotificationClient* notify) override;
  size_t ListDefaultEndpoint() override;
  HRESULT Start(size_t index, bool loopback) override;
  bool Capturing() const override { return m_captureClient != nullptr; }
  HRESULT NextPacket(CapturePacket& packet) override;
  HRESULT ReleasePacket(uint32_t frames) override;
  void Stop() override;
  void Close() override;
  CaptureFailure LastFailure() const override { return m_failure; }

private:
  HRESULT Fail(const char* step, HRESULT hr);
  void ReleaseEndpoints();

  IMMDeviceEnumerator* m_enumerator = nullptr;
  IMMNotificationClient* m_registered = nullptr;
  std::vector<IMMDevice*> m_devices;
  IAudioClient* m_audioClient = nullptr;
  IAudioCaptureClient* m_captureClient = nullptr;
  uint32_t m_blockAlign = 0;
  bool m_float32 = false;
  CaptureFailure m_failure;
};

// Whether a mix format carries 32-bit float samples (plain or extensible).
bool IsFloat32Format(const WAVEFORMATEX& format);
