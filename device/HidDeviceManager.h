// HidDeviceManager: the one object through which the program talks to the keyboard over HID.
//
// It keeps the supported-device table (filled on the UI thread at window initialisation,
// read-only afterwards), scans and opens the keyboards' configuration interfaces, remembers
// the active model and its handle, and moves 65-byte command frames (COMMAND_REPORT out,
// COMMAND_REPLY back in the same buffer). One global instance, created on first use and
// destroyed at exit; it owns its device records and handles. It has no lock: every scan
// and transfer runs on the worker thread, which keeps one frame in flight at a time.
// It calls hidapi, and nothing else, for HID traffic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/core/CString.h"

struct hid_device_;
typedef struct hid_device_ hid_device;

// Command codes of the configuration protocol.
enum : uint8_t {
  CMD_BEGIN = 0x01,
  CMD_END = 0x02,
  CMD_GET_DEVICE_INFO = 0x03,
  CMD_READ_STATUS = 0x04,
  CMD_READ_CONFIG = 0x05,
  CMD_WRITE_CONFIG = 0x06,
  CMD_READ_KEYMAP = 0x07,
  CMD_READ_KEY_FUNCTIONS = 0x08,
  CMD_WRITE_KEYMAP = 0x09,
  CMD_READ_KEY_COLORS = 0x0A,
  CMD_WRITE_KEY_COLORS = 0x0B,
  CMD_WRITE_MACROS = 0x0D,
  CMD_READ_KEY_PERF = 0xA0,
  CMD_WRITE_KEY_PERF = 0xA1,
  CMD_WRITE_DKS = 0xA3,
  CMD_WRITE_ADV_KEYS = 0xA5,
  CMD_WRITE_TGL = 0xA7,
  CMD_CALIBRATION_ON = 0xA8,
  CMD_CALIBRATION_OFF = 0xA9,
  CMD_WRITE_MUSIC_FRAME = 0xDD,
  CMD_READ_LIVE_COLORS = 0xDE,
  CMD_FACTORY_RESET = 0xEE,
};

// COMMAND_REPORT: byte 0 report id 0, 1 marker 0x55, 2 command, 3 zero, 4 checksum,
// 5 payload length (0..56), 6..7 device offset (little-endian), 8 zero, 9..64 payload.
// COMMAND_REPLY (read into the same buffer): 0 0xAA, 1 command echo, 4 length echo,
// 5..6 offset echo, 7 echo of request byte 8, 8..63 data.
constexpr int COMMAND_REPORT_SIZE = 65;
constexpr int COMMAND_MAX_PAYLOAD = 56;
constexpr uint8_t COMMAND_MARKER = 0x55;
constexpr uint8_t REPLY_MARKER = 0xAA;
constexpr int BOOT_PACKET_SIZE = 1024;

// Low 8 bits of the sum of frame bytes first..last.
uint8_t FrameChecksum(const uint8_t* frame, int first, int last);

// Zeroes a COMMAND_REPORT buffer and fills marker, command, length and offset; the transfer
// fills the checksum.
void PrepareFrame(uint8_t* frame, uint8_t command, int length = 0, int offset = 0);

struct SUPPORTED_DEVICE {
  int vid = 0;
  int pid = 0;
  CString productFilter;  // empty: any product string; else must equal it (case-sensitive)
  int modelId = 0;
};

// One opened configuration interface; owned by the manager, deleted by CloseAll.
struct HID_DEVICE_RECORD {
  int index = 0;
  uint16_t vid = 0;
  uint16_t pid = 0;
  char path[1024] = {};
  CString productString;
  hid_device* handle = nullptr;
  int releaseNumber = 0;
  int modelId = 0;
};

class HidDeviceManager {
 public:
  static HidDeviceManager& Instance();

  // The program uses Instance(); tests may build managers of their own.
  HidDeviceManager();
  ~HidDeviceManager();
  HidDeviceManager(const HidDeviceManager&) = delete;
  HidDeviceManager& operator=(const HidDeviceManager&) = delete;

  // Supported table. The bootloader ids and the flag are accepted and not used here.
  void AddSupportedDevice(int vid, int pid, int bootVid, int bootPid, const CString& productFilter,
                          int modelId, int flag);
  bool IsSupported(int vid, int pid, const CString& productString) const;
  int GetModelId(int vid, int pid, const CString& productString) const;

  void ScanDevices();
  // Closes and forgets the records whose interface is no longer enumerated (a keyboard
  // unplugged while the scan talked to it); the others keep their order and get new indexes.
  void DropAbsentDevices();
  void CloseAll();
  bool GetOpenDevices(std::vector<HID_DEVICE_RECORD*>& devices) const;
  int GetActiveDeviceState() const;
  int FindDevice(int vid, int pid, const CString& productFilter) const;
  hid_device* GetActiveHandle();

  // State set by the device-open and connection routines. Changing the active model or
  // closing the devices clears the cached handle.
  void SetOpened(bool opened) { m_opened = opened; }
  bool IsOpened() const { return m_opened; }
  void SetActiveModelId(int modelId);
  int GetActiveModelId() const { return m_activeModelId; }
  void ClearActiveHandle() { m_activeHandle = nullptr; }

  // One transfer of a 65-byte COMMAND_REPORT; on success the buffer holds the reply.
  bool SendCommand(uint8_t* frame);
  bool RequestData(uint8_t* frame);

  CString ReadDeviceInfo(hid_device* handle);
  int GetFirmwareVersion() const;
  CString GetFirmwareVersionText();

  // HID bootloader: the boot device is set by the flasher and used for 1024-byte packets.
  void SetBootDevice(hid_device* handle) { m_bootDevice = handle; }
  hid_device* GetBootDevice() const { return m_bootDevice; }
  void CloseBootDevice(hid_device* handle);
  bool TransferBootPacket(uint8_t* buffer);

  // hidapi is initialised once; a failed initialisation is retried at the next enumeration.
  bool EnsureHidInitialised();

 private:
  // The first supported entry that matches, in registration order.
  const SUPPORTED_DEVICE* FindSupported(int vid, int pid, const CString& productString) const;
  const HID_DEVICE_RECORD* RecordOfHandle(hid_device* handle) const;

  bool m_hidInitialised = false;
  bool m_opened = false;
  int m_activeModelId = 0;
  hid_device* m_activeHandle = nullptr;
  hid_device* m_bootDevice = nullptr;
  std::vector<HID_DEVICE_RECORD*> m_devices;
  std::vector<SUPPORTED_DEVICE> m_supported;
};

// The firmware caption "V<major>.<minor>(yyyy-mm-dd)" from a device-info text and the
// device's release number.
CString FormatFirmwareCaption(const CString& info, int releaseNumber);

// 1..12 for the first of "Jan".."Dec" found anywhere in the text, tried in calendar order; 1 when none.
int MonthNameToNumber(const CString& text);

// Opens the first interface with VID 0x19F5, PID 0xFF30 or 0xFF37, usage page 0xFF00 and
// usage 1 that opens; its ids go to the out-parameters. Null when none.
hid_device* OpenBootloaderDevice(int* vid, int* pid);
// Opens the first interface with exactly these four values that opens; null when none.
hid_device* OpenHidDeviceByUsage(int vid, int pid, int usagePage, int usage);
