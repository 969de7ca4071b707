// A sound source for the visualizer's tests in place of Core Audio: queued packets of
// synthetic samples (48 kHz; silence, tones, a full-scale square, bursts of NaN or Inf) in
// a chosen format, a failing read on request, and a record of what the visualizer did.
//
// The visualizer owns it (unique_ptr); the test keeps a raw pointer and touches it only
// while the visualizer's thread is not running, or through the shared counters below.
#pragma once

#include "app/pages/AudioCapture.h"

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

class SyntheticCapture : public AudioCapture {
public:
  enum class Format { StereoFloat, MonoFloat, Stereo16 };

  static constexpr int kSampleRate = 48000;

  explicit SyntheticCapture(bool hasEndpoint = true, Format format = Format::StereoFloat)
      : m_hasEndpoint(hasEndpoint), m_format(format) {}

  // Queues packets of `frames` frames covering `ms` milliseconds. Phases run on across calls.
  void AddTone(const std::vector<double>& frequencies, double amplitude, int ms, int frames = 480);
  void AddSilence(int ms, int frames = 480);
  void AddSquare(double frequency, int ms, int frames = 480);
  // Every sample of the packets is value (a NaN or an infinity).
  void AddBurst(float value, int ms, int frames = 480);
  // One packet of raw frames (samples interleaved as the format has them).
  void AddPacket(std::vector<float> samples, bool silent = false);
  // The next read fails with hr.
  void FailNextRead(HRESULT hr) { m_failNext = hr; }

  HRESULT Open(IMMNotificationClient* notify) override;
  size_t ListDefaultEndpoint() override;
  HRESULT Start(size_t index, bool loopback) override;
  bool Capturing() const override { return m_capturing; }
  HRESULT NextPacket(CapturePacket& packet) override;
  HRESULT ReleasePacket(uint32_t frames) override;
  void Stop() override;
  void Close() override;
  CaptureFailure LastFailure() const override { return m_failure; }

  std::atomic<int> starts{0};
  std::atomic<int> listings{0};
  std::atomic<int> stops{0};
  std::atomic<int> packetsRead{0};
  // Set by Close; shared so that a test sees it after the visualizer freed this object.
  std::shared_ptr<std::atomic<bool>> closed = std::make_shared<std::atomic<bool>>(false);
  IMMNotificationClient* registered = nullptr;
  bool lastLoopback = false;
  std::vector<uint32_t> releases;

  size_t QueuedPackets() const { return m_queue.size(); }

private:
  struct Packet {
    std::vector<BYTE> bytes;
    uint32_t frames = 0;
    bool silent = false;
  };
  template <class Wave>
  void AddFrames(int ms, int frames, Wave wave);
  int Channels() const { return m_format == Format::MonoFloat ? 1 : 2; }
  uint32_t BlockAlign() const;

  bool m_hasEndpoint;
  Format m_format;
  size_t m_endpoints = 0;
  bool m_capturing = false;
  bool m_holding = false;
  HRESULT m_failNext = S_OK;
  long long m_frameClock = 0;
  std::deque<Packet> m_queue;
  Packet m_current;
  CaptureFailure m_failure;
};
