// The simulated keyboard: a stand-in for hidapi and the keyboards behind it.
//
// Test executables link this library instead of hidapi (link-time substitution), and the
// same sources build a drop-in hidapi.dll for running the whole program under Wine. It
// implements hid_init, hid_exit, hid_enumerate, hid_free_enumeration, hid_open_path,
// hid_write, hid_read_timeout and hid_close with hidapi's own signatures and structure
// layout (the version we build), plus tavir_hid_get_report_lengths, which answers the
// program's report-length query for simulated interface paths.
//
// Design, for those who extend it:
// - `Bus` is the machine: the plugged `Device`s, the open handles, the input-report queue of
//   every interface, the frame log and the problem list. One recursive lock guards all of it;
//   hidapi calls come from any thread, and hid_read_timeout waits on a condition variable
//   with the lock released, so a read really takes its time-out when nothing comes.
// - A `Device` is one USB device: identity (VID, PID, release number, product string) and
//   interfaces (number, usage page and usage, input and output report lengths with the id
//   byte, path). Every write reaches `Device::OnWrite` under the bus lock, already padded to
//   the interface's output report length, report id included; the device answers by queueing
//   input reports (without report id) with `QueueInput`, optionally delayed. A bootloader
//   or any other device is another subclass of `Device` plugged with `Bus::Plug`.
// - `Keyboard` is a model 101/102/103 keyboard: MI_00 (keyboard, 9/2), MI_01 (configuration,
//   65/65, vendor page 0xFF60), MI_02 (0x01/0x00, 9/9). Its MI_01 speaks the command protocol;
//   writes to MI_00 and MI_02 are logged and handed to a handler a test may install
//   (`SetInterfaceHandler`), e.g. to act out the request to enter the bootloader.
//
// Keyboard behaviour where the protocol leaves it open (the simplest that fits every caller):
// - Every frame on MI_01 is checked (marker 0x55, checksum over bytes 5..64 as received,
//   length <= 56, offset + length inside the addressed area, bracket rules) and each problem
//   is recorded in the frame and the bus's problem list. The keyboard still answers such a
//   frame unless it is in strict mode, where a frame with a problem gets no answer.
// - Reply: byte 0 0xAA, byte 1 the command, bytes 4..7 echo request bytes 5..8, data of a read
//   from byte 8, every other byte 0; 64 bytes as delivered (report id stripped). A write
//   applies only its payload length. Reads past an area's end give zeros for the missing part.
// - Device info (0x03) answers with the text length at bytes 4..5 (little-endian) and at most
//   56 bytes of ASCII text from byte 8; it needs no bracket.
// - CMD_READ_STATUS (0x04) serves two blocks at offset 0: a request of exactly 16 bytes at
//   offset 0 reads the 16-byte status block (byte 8 = active on-board profile); any other
//   request reads the 256-byte calibration block (0xFF = calibrated).
// - Areas: configuration 3 x 64 bytes (the 32-byte block of profile p at p x 64; its bytes
//   0..3 and 17..31 carry the pattern 0xC0 + p*0x20 + i, which writers must preserve); factory
//   and current key maps 12 x 512 (layer 0 = the default key table); colours 3 x 512 (384 used
//   per profile); macros 0x1800 (three copies); performance 3 x 1024; DKS 3 x 768; advanced
//   keys 3 x 256; TGL 3 x 128; music frame 384 (written); live colours 384 (read: the active
//   profile's colours).
// - Brackets: CMD_BEGIN nests (depth counter); CMD_END at depth 0 is a problem. Reads and
//   writes outside a bracket are problems, except 0x03, 0xA8, 0xA9 and 0xEE, which the program
//   sends alone.
// - CMD_FACTORY_RESET restores the factory content; with `KeyboardOptions::resetSilenceMs` it
//   then answers nothing for that long, as a rebooting keyboard would.
// - No unsolicited reports of its own: tests queue 0xA0, 0xA1, 0xA2 or raw reports.
// The factory content comes from the generated key tables (data/keyboards/*.txt), the same
// tables the layout files are generated from.
//
// Plugging and state, for runs of the whole program (see SimControl.h for the control channel):
// - A change listener (`Bus::SetChangeListener`) hears every plugging and unplugging, including
//   a device that removes itself and one plugged later, with the interface paths; it is called
//   under the bus lock, so it may only take note (the channel queues WM_DEVICECHANGE
//   broadcasts that another thread delivers).
// - A state file (`Bus::SetStateFile`) keeps the keyboards' memory across processes: a keyboard
//   plugged with `PlugKeyboard` takes its areas from the file's record of the same model and
//   ordinal (the n-th keyboard of that model on the bus), and every write that changes memory
//   (a write command, a factory reset, `Keyboard::Write`) saves every keyboard's record. The
//   file is replaced whole, so a process killed mid-save leaves the previous state. Music frames
//   and the live colours are not kept.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct hid_device_;
struct hid_device_info;

namespace simkb {

struct ModelTable;
class Bus;

using Bytes = std::vector<uint8_t>;

constexpr uint16_t kVendorId = 0x19F5;

struct InterfaceInfo {
  int number = 0;
  uint16_t usagePage = 0, usage = 0;
  int inputLength = 0, outputLength = 0;  // report lengths including the report-id byte
  std::string path;                       // filled by Bus::Plug
};

// One record of the frame log: a report written to any interface of any device.
struct Frame {
  uint32_t timeMs = 0;          // since the bus was created
  int device = 0;               // Device::Id()
  int interfaceNumber = 0;
  Bytes raw;                    // as received: padded, report id included
  // Decoded for configuration frames (MI_01); -1 elsewhere.
  int command = -1, length = -1, offset = -1;
  Bytes payload;                // bytes 9.. up to the length (at most 56)
  bool checksumOk = true;
  int depth = 0;                // bracket depth after the frame
  bool replied = false;
  std::string fault;            // fault applied to this frame, empty when none
  std::vector<std::string> problems;
};

class Device {
 public:
  virtual ~Device() = default;

  int Id() const { return m_id; }
  bool Present() const { return m_present; }
  const std::vector<InterfaceInfo>& Interfaces() const { return m_interfaces; }
  std::string Path(int interfaceNumber) const;

  uint16_t vid = kVendorId, pid = 0, release = 0x0102;
  std::wstring product;
  bool hasProduct = true;

 protected:
  friend class Bus;
  // Called under the bus lock for every write; report is padded, report id at byte 0.
  // The frame is already in the log; fill in what the device learns about it.
  // Returns false to make hid_write fail (-1).
  virtual bool OnWrite(int interfaceNumber, const Bytes& report, Frame& frame) = 0;
  // Queues an input report (without report id) on an interface, visible after delayMs.
  void QueueInput(int interfaceNumber, Bytes report, uint32_t delayMs = 0);
  void RemoveSelf();  // unplugs the device from inside OnWrite

  std::vector<InterfaceInfo> m_interfaces;
  Bus* m_bus = nullptr;

 private:
  int m_id = 0;
  bool m_present = false;
};

// Faults the keyboard can act out on MI_01 frames.
enum class FaultKind {
  SuppressReply,     // no reply
  DelayReply,        // reply visible after delayMs
  WrongMarker,       // reply byte 0 is 0xAB
  WrongCommandEcho,  // reply byte 1 is the command + 1
  WrongLengthEcho,   // reply byte 4 is the length + 1
  WrongOffsetEcho,   // reply byte 5 is the offset's low byte + 1
  FailWrite,         // hid_write returns -1; the keyboard never sees the frame
  UnsolicitedFirst,  // `count` layer-state reports (0xA1) are queued before the reply
  CorruptData,       // reply data bytes 8..63 are inverted
  RemoveDevice,      // the keyboard is unplugged on receiving the frame (no reply)
};

// A fault's name as the frame log records it ("suppress reply", ...).
const char* FaultName(FaultKind kind);
constexpr int kFaultKinds = static_cast<int>(FaultKind::RemoveDevice) + 1;

struct FaultRule {
  FaultKind kind = FaultKind::SuppressReply;
  int command = -1;        // -1: any command
  int nth = 0;             // 0: from the first matching frame on; n: from the n-th (1-based)
  int times = 1;           // frames it applies to; -1: every one from then on
  uint32_t delayMs = 0;    // DelayReply
  int count = 1;           // UnsolicitedFirst
  bool thenCorrect = false;  // Wrong*Echo / WrongMarker / CorruptData: the right reply follows
  // Bookkeeping.
  int seen = 0, applied = 0;
};

struct KeyboardOptions {
  std::wstring product;        // default: the model's name
  bool hasProduct = true;
  uint16_t release = 0x0102;
  std::string info;            // device-info text; default "<name>,Mar 15 2024,V1.02"
  bool strict = false;         // frames with a problem get no answer
  uint32_t resetSilenceMs = 0;
  uint16_t pid = 0;            // 0: the model's configuration PID
};

// Memory areas of a keyboard, as the commands address them.
enum class Area {
  Status, Calibration, Config, FactoryMaps, KeyMaps, Colors, Macros, Perf, Dks, AdvKeys, Tgl,
  Music, Live,
};

// Bytes as lower-case hex digits, and back (false for an odd length or a non-hex digit).
std::string ToHex(const Bytes& bytes);
bool FromHex(const std::string& text, Bytes* bytes);

// Short names of the areas ("keymaps", "colors", ...), as the state file and the control
// channel write them; FindArea is false for a name of none.
const char* AreaKey(Area area);
bool FindArea(const std::string& key, Area* area);

class Keyboard : public Device {
 public:
  Keyboard(const ModelTable& model, const KeyboardOptions& options);

  int ModelId() const;
  const ModelTable& Model() const { return m_model; }
  // The n-th keyboard of its model on the bus (from 0): the key of its state-file record.
  int Ordinal() const { return m_ordinal; }
  std::string ConfigPath() const { return Path(1); }

  // Memory, read and written by tests (under the bus lock).
  Bytes Read(Area area) const;
  void Write(Area area, size_t offset, const Bytes& bytes);
  Bytes Factory(Area area) const;
  // Replaces a whole area without saving the state (the state file's load); false when the size
  // differs from the area's.
  bool Restore(Area area, const Bytes& bytes);
  void SetActiveProfile(int profile);
  bool CalibrationOn() const;
  int Depth() const;
  void SetInfoText(const std::string& text);

  void AddFault(const FaultRule& rule);
  void ClearFaults();

  // Unsolicited input reports on MI_01.
  void QueueTravel(uint8_t type, uint8_t b1, uint8_t b2, uint16_t travel, uint16_t fullTravel);
  void QueueLayerState(int fnLayer, int profile);
  void QueueProfileSwitched();
  void QueueRaw(const Bytes& report);

  // Handler for writes to MI_00 / MI_02 (or to MI_01 instead of the protocol).
  using InterfaceHandler = std::function<void(Keyboard&, int interfaceNumber, const Bytes& report)>;
  void SetInterfaceHandler(int interfaceNumber, InterfaceHandler handler);

 protected:
  bool OnWrite(int interfaceNumber, const Bytes& report, Frame& frame) override;

 private:
  Bytes HandleCommand(const Bytes& report, Frame& frame);
  void ResetToFactory();
  Bytes* AreaFor(int command, int length, int offset, const char** name);
  Bytes LiveColors() const;

  friend class Bus;
  const ModelTable& m_model;
  KeyboardOptions m_options;
  int m_ordinal = 0;
  std::map<Area, Bytes> m_memory, m_factory;
  std::vector<FaultRule> m_faults;
  std::map<int, InterfaceHandler> m_handlers;
  int m_depth = 0;
  bool m_calibration = false;
  uint64_t m_silentUntil = 0;
};

class Bus {
 public:
  static Bus& Get();

  // Unplugs and forgets every device, clears the log, problems, faults and failure settings.
  void Reset();

  // Plugs a keyboard of model 101, 102 or 103; it stays owned by the bus until Reset.
  Keyboard& PlugKeyboard(int modelId, const KeyboardOptions& options = {});
  // Plugs any device (e.g. a bootloader); owned by the bus until Reset. Returns its paths.
  std::vector<std::string> Plug(std::unique_ptr<Device> device);
  // Plugs a device delayMs from now, as a restarting keyboard shows up again after a while;
  // every enumeration plugs what is due. Reset drops devices that have not appeared yet.
  void PlugLater(std::unique_ptr<Device> device, uint32_t delayMs);
  // Unplugs (open handles then fail with -1) and plugs again; both return the device's paths.
  std::vector<std::string> Unplug(Device& device);
  std::vector<std::string> Replug(Device& device);
  // Every device plugged since the last Reset, present or not, in plugging order.
  std::vector<Device*> Devices() const;
  Device* Find(int id) const;

  // Hears pluggings (arrived) and unpluggings with the device's interface paths; called under
  // the bus lock. Reset removes it.
  using ChangeListener = std::function<void(bool arrived, const std::vector<std::string>& paths)>;
  void SetChangeListener(ChangeListener listener);

  // The state file (empty: none); keyboards plugged from now on load it. Reset forgets it.
  void SetStateFile(const std::wstring& path);
  std::wstring StateFile() const;
  // Writes every keyboard's memory to the state file (nothing without one).
  void SaveState();

  void FailInit(int times = 1);
  int InitCalls() const;
  int ExitCalls() const;
  void SetUnopenable(const std::string& path, bool unopenable = true);

  // Handles.
  bool IsOpen(const hid_device_* handle) const;
  int OpenHandleCount(const std::string& path) const;
  int CloseCount() const;

  // Frame log and problems.
  size_t Mark() const;
  std::vector<Frame> FramesSince(size_t mark) const;
  std::vector<Frame> Frames() const { return FramesSince(0); }
  std::vector<std::string> Problems() const;
  // Records a problem of the equipment itself (a state file it cannot read, a pipe it cannot serve).
  void AddProblem(const std::string& problem);
  void ClearLog();

  uint32_t NowMs() const;
  std::recursive_mutex& Lock() const { return m_lock; }

  // The hidapi functions are implemented over these.
  int HidInit();
  int HidExit();
  ::hid_device_info* Enumerate(unsigned short vid, unsigned short pid);
  hid_device_* Open(const char* path);
  int Write(hid_device_* handle, const unsigned char* data, size_t length);
  int Read(hid_device_* handle, unsigned char* data, size_t length, int timeoutMs);
  void Close(hid_device_* handle);
  int ReportLengths(const char* path, int* input, int* output);

 private:
  friend class Device;
  friend class Keyboard;
  Bus();
  ~Bus();
  struct Pending {
    Bytes report;
    uint64_t visibleAt;
  };
  const InterfaceInfo* FindPath(const std::string& path, Device** device) const;
  uint64_t NowTick() const;
  void Detach(Device& device);
  void Attach(Device& device);
  void Notify(bool arrived, const Device& device);
  void LoadState(Keyboard& keyboard);

  mutable std::recursive_mutex m_lock;
  std::condition_variable_any m_arrived;
  std::vector<std::unique_ptr<Device>> m_devices;
  std::vector<std::pair<uint64_t, std::unique_ptr<Device>>> m_later;  // (plug at, device)
  std::map<std::pair<int, int>, std::deque<Pending>> m_queues;  // (device, interface)
  std::vector<std::unique_ptr<hid_device_>> m_handles;          // open handles
  std::vector<Frame> m_frames;
  std::vector<std::string> m_problems;
  std::vector<std::string> m_unopenable;
  ChangeListener m_listener;
  std::wstring m_stateFile;
  // The state file's records by (model, ordinal): "area hex" lines, kept for keyboards that are
  // not on the bus so that saving never drops them.
  std::map<std::pair<int, int>, std::vector<std::string>> m_stateRecords;
  int m_failInit = 0, m_initCalls = 0, m_exitCalls = 0, m_closeCount = 0, m_nextId = 1;
  uint64_t m_epoch = 0;
};

}  // namespace simkb
