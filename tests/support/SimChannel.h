// The test's end of the simulated keyboard's control channel (simkeyboard/SimControl.h): a
// connection to the pipe that the drop-in hidapi.dll serves inside another process, with the
// commands as calls. A program started with Environment() set serves the channel and keeps its
// keyboards' memory in the state file.
//
// Used on one thread; every wait is bounded. A call on a channel that is not connected, or
// whose server went, gives an error reply ("error not connected").
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "simkeyboard/SimKeyboard.h"

namespace testsupport {

struct SimReply {
  bool ok = false;
  std::string head;                // the first line after "ok " or "error "
  std::vector<std::string> lines;  // the data lines
};

// One device of the bus as the "devices" command lists it.
struct SimDevice {
  int id = 0;
  std::string kind;  // "keyboard", "bootloader" or "device"
  uint16_t vid = 0, pid = 0;
  bool present = false;
  int model = 0;     // 0 for a device that is not a keyboard
};

class SimChannel {
 public:
  // A pipe name of this process's own, and a state file name to go with it in a folder.
  static std::wstring UniquePipeName();
  // The variables a program needs to serve this channel and keep its state in stateFile (empty:
  // no state file): set them in the environment of the process to start.
  std::vector<std::pair<std::wstring, std::wstring>> Environment(const std::wstring& stateFile) const;

  explicit SimChannel(std::wstring pipeName = UniquePipeName());
  ~SimChannel();
  SimChannel(const SimChannel&) = delete;
  SimChannel& operator=(const SimChannel&) = delete;

  const std::wstring& PipeName() const { return m_name; }
  // Connects, waiting up to timeoutMs for the server to appear (a program starting up).
  bool Connect(DWORD timeoutMs);
  void Disconnect();
  bool Connected() const { return m_pipe != INVALID_HANDLE_VALUE; }

  // One request and its reply, as raw text and parsed.
  std::string CallRaw(const std::string& request);
  SimReply Call(const std::string& request);

  size_t Mark();
  // Waits, pumping, until the keyboard has heard no frame for quietMs (the program's worker is
  // done); false when it still heard frames after timeoutMs. Frames of the ignored commands do
  // not count: a page that reads the keyboard while idle (its brackets and reads) is quiet once
  // it only reads.
  bool WaitQuiet(DWORD quietMs, DWORD timeoutMs, const std::vector<int>& ignoredCommands = {});
  std::vector<simkb::Frame> FramesSince(size_t mark);
  std::vector<std::string> Problems();
  std::vector<SimDevice> Devices();
  // The id of the first keyboard (of the model, when not 0) listed, present or not; 0 for none.
  int KeyboardId(int model = 0);
  // An area of a keyboard ("keymaps", "colors", ...), whole or a part; empty on an error.
  simkb::Bytes ReadArea(int device, const std::string& area);
  simkb::Bytes ReadArea(int device, const std::string& area, size_t offset, size_t length);
  bool Unplug(int device);
  bool Replug(int device);
  // The new device's id, 0 on an error.
  int PlugKeyboard(int model);
  int PlugBootloader(uint16_t vid, uint16_t pid);
  // rule: the kind and options as the fault command takes them, e.g. "suppress-reply command=9".
  bool AddFault(int device, const std::string& rule);
  bool ClearFaults(int device);
  // Queues an input report of the keyboard (without report id; zeros fill it to 64 bytes).
  bool QueueReport(int device, const simkb::Bytes& report);

 private:
  std::wstring m_name;
  HANDLE m_pipe = INVALID_HANDLE_VALUE;
};

// Parses a line of the frames reply into a frame (payload filled for configuration frames).
bool ParseFrameLine(const std::string& line, simkb::Frame* frame);

}  // namespace testsupport
