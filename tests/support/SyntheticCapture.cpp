#include "SyntheticCapture.h"

#include <cmath>
#include <cstring>

namespace {

const double kTwoPi = 8.0 * std::atan(1.0);

}  // namespace

uint32_t SyntheticCapture::BlockAlign() const {
  return m_format == Format::Stereo16 ? 4 : static_cast<uint32_t>(Channels() * sizeof(float));
}

template <class Wave>
void SyntheticCapture::AddFrames(int ms, int frames, Wave wave) {
  const long long total = static_cast<long long>(kSampleRate) * ms / 1000;
  for (long long done = 0; done < total; done += frames) {
    Packet packet;
    packet.frames = static_cast<uint32_t>(frames);
    packet.bytes.resize(static_cast<size_t>(frames) * BlockAlign());
    for (int f = 0; f < frames; ++f) {
      const double t = static_cast<double>(m_frameClock++) / kSampleRate;
      const float value = wave(t);
      for (int c = 0; c < Channels(); ++c) {
        if (m_format == Format::Stereo16) {
          const int16_t s = static_cast<int16_t>(std::isfinite(value) ? value * 32767.0f : 0.0f);
          std::memcpy(&packet.bytes[(static_cast<size_t>(f) * 2 + c) * 2], &s, 2);
        } else {
          std::memcpy(&packet.bytes[(static_cast<size_t>(f) * Channels() + c) * 4], &value, 4);
        }
      }
    }
    m_queue.push_back(std::move(packet));
  }
}

void SyntheticCapture::AddTone(const std::vector<double>& frequencies, double amplitude, int ms, int frames) {
  AddFrames(ms, frames, [&](double t) {
    double sum = 0.0;
    for (double f : frequencies) sum += amplitude * std::sin(kTwoPi * f * t);
    return static_cast<float>(sum);
  });
}

void SyntheticCapture::AddSilence(int ms, int frames) {
  AddFrames(ms, frames, [](double) { return 0.0f; });
}

void SyntheticCapture::AddSquare(double frequency, int ms, int frames) {
  AddFrames(ms, frames, [&](double t) { return std::sin(kTwoPi * frequency * t) >= 0.0 ? 1.0f : -1.0f; });
}

void SyntheticCapture::AddBurst(float value, int ms, int frames) {
  AddFrames(ms, frames, [&](double) { return value; });
}

void SyntheticCapture::AddPacket(std::vector<float> samples, bool silent) {
  Packet packet;
  packet.silent = silent;
  packet.bytes.resize(samples.size() * sizeof(float));
  std::memcpy(packet.bytes.data(), samples.data(), packet.bytes.size());
  packet.frames = static_cast<uint32_t>(packet.bytes.size() / BlockAlign());
  m_queue.push_back(std::move(packet));
}

HRESULT SyntheticCapture::Open(IMMNotificationClient* notify) {
  registered = notify;
  return S_OK;
}

size_t SyntheticCapture::ListDefaultEndpoint() {
  Stop();
  ++listings;
  m_endpoints = m_hasEndpoint ? 1 : 0;
  if (!m_hasEndpoint) m_failure = {"GetDefaultAudioEndpoint", HRESULT(0x80070490)};
  return m_endpoints;
}

HRESULT SyntheticCapture::Start(size_t index, bool loopback) {
  Stop();
  if (index >= m_endpoints) {
    m_failure = {"Start", E_INVALIDARG};
    return E_INVALIDARG;
  }
  ++starts;
  lastLoopback = loopback;
  m_capturing = true;
  return S_OK;
}

HRESULT SyntheticCapture::NextPacket(CapturePacket& packet) {
  packet = CapturePacket{};
  if (!m_capturing) return E_POINTER;
  if (m_failNext != S_OK) {
    m_failure = {"GetBuffer", m_failNext};
    m_failNext = S_OK;
    return m_failure.hr;
  }
  packet.blockAlign = BlockAlign();
  packet.float32 = m_format != Format::Stereo16;
  if (m_queue.empty()) return S_OK;
  m_current = std::move(m_queue.front());
  m_queue.pop_front();
  m_holding = true;
  ++packetsRead;
  packet.data = m_current.bytes.data();
  packet.frames = m_current.frames;
  packet.silent = m_current.silent;
  return S_OK;
}

HRESULT SyntheticCapture::ReleasePacket(uint32_t frames) {
  releases.push_back(frames);
  m_holding = false;
  return S_OK;
}

void SyntheticCapture::Stop() {
  if (m_capturing) ++stops;
  m_capturing = false;
}

void SyntheticCapture::Close() {
  Stop();
  registered = nullptr;
  *closed = true;
}
