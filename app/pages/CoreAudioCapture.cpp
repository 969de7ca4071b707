#include "app/pages/CoreAudioCapture.h"

#include <audioclient.h>
#include <mmdeviceapi.h>
#include <mmreg.h>

namespace {

// The sub-format of extensible 32-bit float wave formats.
constexpr GUID kSubtypeIeeeFloat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID kClsidDeviceEnumerator = {0xbcde0395, 0xe52f, 0x467c, {0x8e, 0x3d, 0xc4, 0x57, 0x92, 0x91, 0x69, 0x2e}};

template <class T>
void ReleaseAndClear(T*& object) {
  if (object) {
    object->Release();
    object = nullptr;
  }
}

}  // namespace

bool IsFloat32Format(const WAVEFORMATEX& format) {
  if (format.wBitsPerSample != 32) return false;
  if (format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT) return true;
  if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || format.cbSize < 22) return false;
  const auto& extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format);
  return IsEqualGUID(extensible.SubFormat, kSubtypeIeeeFloat) != 0;
}

CoreAudioCapture::~CoreAudioCapture() { Close(); }

HRESULT CoreAudioCapture::Fail(const char* step, HRESULT hr) {
  m_failure = {step, hr};
  return hr;
}

HRESULT CoreAudioCapture::Open(IMMNotificationClient* notify) {
  if (!m_enumerator) {
    HRESULT hr = CoCreateInstance(kClsidDeviceEnumerator, nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                  reinterpret_cast<void**>(&m_enumerator));
    if (FAILED(hr)) {
      m_enumerator = nullptr;
      return Fail("CoCreateInstance", hr);
    }
  }
  if (notify && !m_registered) {
    HRESULT hr = m_enumerator->RegisterEndpointNotificationCallback(notify);
    if (FAILED(hr)) return Fail("RegisterEndpointNotificationCallback", hr);
    m_registered = notify;
  }
  return S_OK;
}

void CoreAudioCapture::ReleaseEndpoints() {
  for (IMMDevice* device : m_devices) device->Release();
  m_devices.clear();
}

size_t CoreAudioCapture::ListDefaultEndpoint() {
  Stop();
  ReleaseEndpoints();
  if (!m_enumerator) return 0;
  IMMDevice* device = nullptr;
  HRESULT hr = m_enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device);
  if (FAILED(hr) || !device) {
    Fail("GetDefaultAudioEndpoint", FAILED(hr) ? hr : E_POINTER);
    return 0;
  }
  m_devices.push_back(device);
  return m_devices.size();
}

HRESULT CoreAudioCapture::Start(size_t index, bool loopback) {
  Stop();
  if (index >= m_devices.size()) return Fail("Start", E_INVALIDARG);
  HRESULT hr = m_devices[index]->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                          reinterpret_cast<void**>(&m_audioClient));
  if (FAILED(hr)) {
    m_audioClient = nullptr;
    return Fail("Activate", hr);
  }
  WAVEFORMATEX* format = nullptr;
  hr = m_audioClient->GetMixFormat(&format);
  if (FAILED(hr) || !format) {
    Stop();
    return Fail("GetMixFormat", FAILED(hr) ? hr : E_POINTER);
  }
  m_blockAlign = format->nBlockAlign;
  m_float32 = IsFloat32Format(*format);
  hr = m_audioClient->Initialize(AUDCLNT_SHAREMODE_SHARED, loopback ? AUDCLNT_STREAMFLAGS_LOOPBACK : 0, 0, 0,
                                 format, nullptr);
  CoTaskMemFree(format);
  if (FAILED(hr)) {
    Stop();
    return Fail("Initialize", hr);
  }
  IAudioCaptureClient* capture = nullptr;
  hr = m_audioClient->GetService(__uuidof(IAudioCaptureClient), reinterpret_cast<void**>(&capture));
  if (FAILED(hr) || !capture) {
    Stop();
    return Fail("GetService", FAILED(hr) ? hr : E_POINTER);
  }
  m_captureClient = capture;
  hr = m_audioClient->Start();
  if (FAILED(hr)) {
    Stop();
    return Fail("Start", hr);
  }
  return S_OK;
}

HRESULT CoreAudioCapture::NextPacket(CapturePacket& packet) {
  packet = CapturePacket{};
  if (!m_captureClient) return Fail("GetBuffer", E_POINTER);
  BYTE* data = nullptr;
  UINT32 frames = 0;
  DWORD flags = 0;
  HRESULT hr = m_captureClient->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
  if (FAILED(hr)) return Fail("GetBuffer", hr);
  if (hr == AUDCLNT_S_BUFFER_EMPTY) frames = 0;
  packet.data = data;
  packet.frames = frames;
  packet.blockAlign = m_blockAlign;
  packet.float32 = m_float32;
  packet.silent = (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0;
  return S_OK;
}

HRESULT CoreAudioCapture::ReleasePacket(uint32_t frames) {
  if (!m_captureClient) return Fail("ReleaseBuffer", E_POINTER);
  HRESULT hr = m_captureClient->ReleaseBuffer(frames);
  return FAILED(hr) ? Fail("ReleaseBuffer", hr) : hr;
}

void CoreAudioCapture::Stop() {
  if (m_audioClient) m_audioClient->Stop();
  ReleaseAndClear(m_captureClient);
  ReleaseAndClear(m_audioClient);
}

void CoreAudioCapture::Close() {
  Stop();
  ReleaseEndpoints();
  if (m_enumerator && m_registered) m_enumerator->UnregisterEndpointNotificationCallback(m_registered);
  m_registered = nullptr;
  ReleaseAndClear(m_enumerator);
}
