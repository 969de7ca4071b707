#include "app/pages/Visualizer.h"

#include "app/pages/CoreAudioCapture.h"

#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace {

constexpr float kSampleLimit = 1.0e4f;
constexpr float kLevelFloor = 1.0e-6f;
constexpr int kPassPeriodMs = 15;
constexpr int kIdlePeriodMs = 500;
constexpr int kBarsAtFullBrightness = 100;
// The row-0 bar follows the level of this column.
constexpr int kTopBarColumn = 5;
const wchar_t kDefaultLoopbackName[] = L"Default Loopback Device";

}  // namespace

float SanitizeSample(float sample) {
  if (!std::isfinite(sample)) return 0.0f;
  return std::clamp(sample, -kSampleLimit, kSampleLimit);
}

float SanitizeLevel(float level) {
  if (!std::isfinite(level) || level < kLevelFloor) return 0.0f;
  return level;
}

Visualizer::Visualizer() : Visualizer(std::make_unique<CoreAudioCapture>()) {}

Visualizer::Visualizer(std::unique_ptr<AudioCapture> capture) : m_capture(std::move(capture)) {}

Visualizer::~Visualizer() {
  StopWorker();
  std::lock_guard<std::mutex> lock(m_captureLock);
  m_capture->Close();
}

HRESULT Visualizer::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IMMNotificationClient))) {
    *object = static_cast<IMMNotificationClient*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG Visualizer::AddRef() { return 1; }
ULONG Visualizer::Release() { return 1; }
HRESULT Visualizer::OnDeviceStateChanged(LPCWSTR, DWORD) { return S_OK; }
HRESULT Visualizer::OnDeviceAdded(LPCWSTR) { return S_OK; }
HRESULT Visualizer::OnDeviceRemoved(LPCWSTR) { return S_OK; }

HRESULT Visualizer::OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) {
  // Runs on the platform's notification thread, which must not release endpoint objects or
  // wait: the change is only noted here and carried out by the visualizer's own thread.
  if (flow == eRender && role == eConsole) {
    m_deviceChanged = true;
    m_wake.notify_all();
  }
  return S_OK;
}

HRESULT Visualizer::OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) { return S_OK; }

void Visualizer::Init() {
  EnumerateDevices();
  m_gain = 270;
  m_smoothWidth = 8;
  m_decay = 80;
  m_deviceIndex = 0;
  m_hueStep = 500.0f;
  m_backBrightness = 100;
  m_backStyle = 0;
  m_weightBase = 0.04f;
  m_weightSlope = 0.5f;
  m_foreStyle = 17;
  m_hue = 0.0f;
  MakeHannWindow(m_window);
  for (int i = 0; i < kSpectrumColumns; ++i)
    m_weights[i] = m_weightBase + static_cast<float>(i) * (1.0f / kSpectrumColumns) * m_weightSlope;
  std::fill(std::begin(m_levels), std::end(m_levels), 0.0f);
  {
    std::lock_guard<std::mutex> lock(m_frameLock);
    m_drawFrame = &m_frames[0];
    m_frontFrame = &m_frames[1];
  }
  StartCapture();
}

void Visualizer::EnumerateDevices() {
  // Fails harmlessly (RPC_E_CHANGED_MODE) on a thread already in a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  std::lock_guard<std::mutex> lock(m_captureLock);
  if (!m_opened) m_opened = SUCCEEDED(m_capture->Open(this));
  ListDefaultEndpoint();
}

void Visualizer::ListDefaultEndpoint() {
  m_deviceNames.clear();
  m_isCaptureDevice.clear();
  if (m_capture->ListDefaultEndpoint() > 0) {
    m_deviceNames.emplace_back(kDefaultLoopbackName);
    m_isCaptureDevice.push_back(false);
  }
}

void Visualizer::StartWorker() {
  if (m_thread.joinable()) return;
  m_running = true;
  m_thread = std::thread([this] { WorkerLoop(); });
}

void Visualizer::StopWorker() {
  {
    std::lock_guard<std::mutex> lock(m_wakeLock);
    m_running = false;
  }
  m_wake.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void Visualizer::StartCapture() {
  std::lock_guard<std::mutex> lock(m_captureLock);
  StartCaptureLocked();
}

void Visualizer::StartCaptureLocked() {
  m_capture->Stop();
  if (static_cast<size_t>(m_deviceIndex.load()) >= m_deviceNames.size() || m_deviceIndex < 0) {
    if (m_deviceNames.empty()) return;
    m_deviceIndex = 0;
  }
  const size_t index = static_cast<size_t>(m_deviceIndex.load());
  m_capture->Start(index, !m_isCaptureDevice[index]);
}

void Visualizer::RequestCaptureRestart() {
  m_restartRequested = true;
  m_wake.notify_all();
}

CaptureFailure Visualizer::LastCaptureFailure() const {
  std::lock_guard<std::mutex> lock(m_captureLock);
  return m_capture->LastFailure();
}

bool Visualizer::Capturing() const {
  std::lock_guard<std::mutex> lock(m_captureLock);
  return m_capture->Capturing();
}

std::vector<std::wstring> Visualizer::DeviceNames() const {
  std::lock_guard<std::mutex> lock(m_captureLock);
  return m_deviceNames;
}

void Visualizer::WorkerLoop() {
  // The endpoint objects are released and re-listed here after a device change: this thread
  // joins the multithreaded apartment they were made in.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  while (m_running) {
    const bool drew = WorkerPass();
    std::unique_lock<std::mutex> lock(m_wakeLock);
    m_wake.wait_for(lock, std::chrono::milliseconds(drew ? kPassPeriodMs : kIdlePeriodMs),
                    [&] { return !m_running || m_deviceChanged || m_restartRequested; });
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

bool Visualizer::WorkerPass() {
  const bool deviceChanged = m_deviceChanged.exchange(false);
  const bool restart = m_restartRequested.exchange(false);
  if (deviceChanged || restart) {
    std::lock_guard<std::mutex> lock(m_captureLock);
    if (deviceChanged) ListDefaultEndpoint();
    StartCaptureLocked();
  }
  if (!m_active) return false;
  AnalyzeSpectrum();
  if (m_hue >= 360.0f) m_hue = 0.0f;
  if (m_hue < 0.0f) m_hue = 360.0f;
  DrawColorStyle(m_backLayer, m_backStyle, m_backBrightness);
  DrawColorStyle(m_foreLayer, m_foreStyle, kBarsAtFullBrightness);
  ComposeFrame();
  PublishFrame();
  m_hue += m_hueStep / 100.0f;
  return true;
}

void Visualizer::DrawColorStyle(MusicLayer& layer, int style, int percent) {
  ::DrawColorStyle(layer, style, percent, m_hue);
}

void Visualizer::PushSample(float sample) {
  std::memmove(m_ring, m_ring + 2, sizeof(float) * (kFftSize - 2));
  m_ring[kFftSize - 2] = sample;
  m_ring[kFftSize - 1] = sample;
}

void Visualizer::ReadPackets() {
  const float gain = static_cast<float>(m_gain.load());
  while (m_capture->Capturing()) {
    CapturePacket packet;
    const HRESULT hr = m_capture->NextPacket(packet);
    if (FAILED(hr) || (packet.frames > 0 && !packet.data)) {
      // A broken stream stays stopped until the next restart.
      m_capture->Stop();
      return;
    }
    if (packet.frames == 0) {
      m_capture->ReleasePacket(0);
      return;
    }
    // Only 32-bit float streams are read; other formats are released unread.
    if (packet.float32) {
      const size_t floats = static_cast<size_t>(packet.frames) * packet.blockAlign / sizeof(float);
      const auto* samples = reinterpret_cast<const float*>(packet.data);
      const size_t groups = (packet.frames + 3) / 4;
      for (size_t g = 0; g < groups && 4 * g + 4 <= floats; ++g) {
        float sample = 0.0f;
        if (!packet.silent) {
          const float* f = samples + 4 * g;
          sample = SanitizeSample((f[0] + f[1] + f[2] + f[3]) * 0.25f * 2.0f * gain);
        }
        PushSample(sample);
      }
    }
    m_capture->ReleasePacket(packet.frames);
  }
}

void Visualizer::AnalyzeSpectrum() {
  const float keep = static_cast<float>(m_decay) / 100.0f;
  for (float& level : m_levels) level = SanitizeLevel(level * keep);
  {
    std::lock_guard<std::mutex> lock(m_captureLock);
    ReadPackets();
  }
  float x[kFftSize];
  std::memcpy(x, m_ring, sizeof(x));
  MultiplyWindow(x, m_window, kSpectrumColumns);
  RealFft(x);
  x[0] = x[2];
  MultiplyWindow(x, m_weights, kSpectrumColumns);
  for (int k = 0; k < kSpectrumColumns / 4; ++k) {
    const float m = std::sqrt(x[2 * k] * x[2 * k] + x[2 * k + 1] * x[2 * k + 1]);
    const float v = std::min(1.0f, 0.5f * std::log10(1.1f * m) + 0.9f * m);
    float& level = m_levels[4 * k];
    if (v > level) level = v;
    level = SanitizeLevel(level);
    m_levels[4 * k + 1] = m_levels[4 * k + 2] = m_levels[4 * k + 3] = level;
  }
  SmoothLevels(m_levels, m_smoothWidth);
  for (int i = 0; i < kSpectrumColumns; ++i) m_displayLevels[i] = m_levels[i] = SanitizeLevel(m_levels[i]);
}

void Visualizer::ComposeFrame() {
  MusicLayer& frame = *m_drawFrame;
  for (int y = 0; y < kMusicHeight; ++y) {
    const float threshold = static_cast<float>(kMusicHeight - y) / kMusicHeight;
    for (int x = 0; x < kMusicWidth; ++x)
      frame[y][x] = m_displayLevels[x] > threshold ? m_foreLayer[y][x] : m_backLayer[y][x];
  }
  // Row 0: a bar growing from the middle to both ends with the level of one low column.
  const float reach = m_displayLevels[kTopBarColumn] - 0.05f;
  for (int x = 0; x < kMusicWidth; ++x) {
    const float distance = x < 128 ? static_cast<float>(127 - x) / 128.0f : static_cast<float>(x - 128) / 128.0f;
    frame[0][x] = distance < reach ? m_foreLayer[0][x] : m_backLayer[0][x];
  }
}

void Visualizer::PublishFrame() {
  std::lock_guard<std::mutex> lock(m_frameLock);
  std::swap(m_frontFrame, m_drawFrame);
}
