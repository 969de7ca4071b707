// The sound source of the music visualizer: the endpoint whose output is captured and the
// packets it delivers. CoreAudioCapture reads the computer's default output by shared-mode
// loopback; tests put a synthetic source in its place.
//
// The visualizer owns its capture object and calls it only under its capture lock, from the
// thread that started it, its own analysis thread or its owner's thread; an implementation
// therefore needs no lock of its own. Every call that fails records its step and HRESULT as
// the last failure.
#pragma once

#include <windows.h>

#include <cstdint>

struct IMMNotificationClient;

// One packet as the endpoint delivers it. data holds frames x blockAlign bytes; nothing
// beyond them may be read. float32 tells whether the stream's mix format is 32-bit float
// samples; silent is the endpoint's flag for a packet that is to be taken as zeros.
struct CapturePacket {
  const BYTE* data = nullptr;
  uint32_t frames = 0;
  uint32_t blockAlign = 0;
  bool float32 = false;
  bool silent = false;
};

struct CaptureFailure {
  const char* step = "";  // the call that failed, e.g. "GetService"
  HRESULT hr = S_OK;
};

class AudioCapture {
public:
  virtual ~AudioCapture() = default;

  // Creates the device enumerator and registers notify for endpoint changes (once).
  virtual HRESULT Open(IMMNotificationClient* notify) = 0;
  // Drops the endpoints listed before (stopping a running stream first) and lists the
  // default render endpoint, if there is one. Returns the number of endpoints listed.
  virtual size_t ListDefaultEndpoint() = 0;
  // Starts a stream on the listed endpoint index (loopback: a render endpoint). A stream
  // that runs already is stopped and released first. On failure no stream is left.
  virtual HRESULT Start(size_t index, bool loopback) = 0;
  virtual bool Capturing() const = 0;
  // The next packet; S_OK with frames 0 when none is waiting. A failure leaves the stream
  // as it is: the caller decides (the visualizer stops it).
  virtual HRESULT NextPacket(CapturePacket& packet) = 0;
  virtual HRESULT ReleasePacket(uint32_t frames) = 0;
  // Stops the stream and releases its client and capture service.
  virtual void Stop() = 0;
  // Stops, unregisters the notification client and releases everything.
  virtual void Close() = 0;

  virtual CaptureFailure LastFailure() const = 0;
};
