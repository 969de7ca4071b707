// Firmware upgrade through the CH375 USB bootloader: finds the bootloader with the CH375
// library, opens it, and erases, programs, verifies and ends, reporting a percentage
// (WM_KB_FLASH_PROGRESS to the progress window) and a numbered state (GetState).
// One flasher for the whole program (Instance), alive until exit. FindDevices also runs
// on the library's notification thread: the device-name slots are guarded by m_scanLock,
// held by each scan and by the open that follows it. Flashing runs on the worker only.
// Every step sets the state before it posts the percentage that goes with it, so a window
// that reads the state when the message arrives sees the step's own state.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/Ch375Library.h"
#include "device/FirmwareImage.h"

enum Ch375Command : uint8_t {
  CH375_CMD_PROGRAM = 0x80,
  CH375_CMD_ERASE = 0x81,
  CH375_CMD_VERIFY = 0x82,
  CH375_CMD_END = 0x83,
};

// The bootloader's packet: byte 0 command, byte 1 the chunk length (0x02 for erase and end),
// bytes 2-3 the low 16 bits of the chunk's image offset (little-endian), then up to 60 bytes.
constexpr int kCh375PacketSize = 64;
constexpr uint32_t kCh375ChunkSize = 60;

// Builds a program or verify packet for the size bytes at chunk (size 1..60) that sit at
// offset in the image; returns the number of bytes to write (4 + size).
ULONG BuildCh375ChunkPacket(uint8_t* packet, uint8_t command, uint32_t offset, const uint8_t* chunk, uint32_t size);
// Builds an erase or end packet; returns the number of bytes to write (4).
ULONG BuildCh375ControlPacket(uint8_t* packet, uint8_t command);

// The vendor and product ids by which a CH375 device is taken for a bootloader.
bool IsCh375BootloaderId(ULONG usbId);

class FirmwareFlasherCh375 {
 public:
  // The step the last flash reached; the main window shows language text 1000 + state.
  enum State {
    kStateNone = 0,
    kStateStarted = 1,  // also the end state when no bootloader was found
    kStateBadImage = 2,
    kStateErasing = 3,
    kStateEraseFailed = 4,  // or the bootloader did not open
    kStateProgramming = 5,
    kStateProgramFailed = 6,
    kStateVerifying = 7,  // then ending
    kStateVerifyFailed = 8,
    kStateEndFailed = 9,
    kStateFinished = 10,
  };

  static FirmwareFlasherCh375& Instance();
  // A flasher over another copy of the library (the program has exactly one, Instance).
  explicit FirmwareFlasherCh375(const Ch375Library& library);
  FirmwareFlasherCh375(const FirmwareFlasherCh375&) = delete;
  FirmwareFlasherCh375& operator=(const FirmwareFlasherCh375&) = delete;

  // Scans device indexes 0..15; true when at least one bootloader was found.
  bool FindDevices();
  // Scans and opens the first bootloader found: null when none was found, and
  // INVALID_HANDLE_VALUE when its name did not open.
  HANDLE OpenFirstDevice();
  void LoadImage(const wchar_t* path);
  // Sends length bytes of data as command packets of at most 60 bytes, reading the
  // bootloader's status after each; false at the first write or status that fails.
  bool WriteImage(HANDLE device, uint8_t command, const uint8_t* data, uint32_t length);
  // The whole upgrade; the outcome is GetState().
  void FlashFirmware(const wchar_t* path, HWND window);

  int GetState() const { return m_state.load(); }

 private:
  static constexpr int kNameSlots = 16;
  static constexpr int kNameSlotSize = 256;

  int ScanLocked();
  bool ReadStatus(HANDLE device);
  void SetStateAndPost(int state, int percent);
  void Post(int percent);
  void CloseDevice();

  const Ch375Library& m_library;
  std::mutex m_scanLock;
  HANDLE m_device = nullptr;
  char m_names[kNameSlots][kNameSlotSize] = {};
  uint32_t m_imageLength = 0;
  uint8_t m_image[kFirmwareImageCapacity] = {};
  std::atomic<int> m_state{kStateNone};
  HWND m_progressWnd = nullptr;
};
