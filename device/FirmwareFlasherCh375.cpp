#include "device/FirmwareFlasherCh375.h"

#include <algorithm>
#include <cstring>

#include "app/AppMessages.h"

namespace {

constexpr ULONG kMaxDeviceIndex = 16;
constexpr ULONG kTimeoutMs = 1000;
constexpr uint8_t kControlLength = 0x02;

}  // namespace

ULONG BuildCh375ChunkPacket(uint8_t* packet, uint8_t command, uint32_t offset, const uint8_t* chunk, uint32_t size) {
  std::memset(packet, 0, kCh375PacketSize);
  packet[0] = command;
  packet[1] = static_cast<uint8_t>(size);
  // The bootloader takes only the low 16 bits and places the chunks one after another.
  packet[2] = static_cast<uint8_t>(offset & 0xFF);
  packet[3] = static_cast<uint8_t>((offset >> 8) & 0xFF);
  std::memcpy(packet + 4, chunk, size);
  return 4 + size;
}

ULONG BuildCh375ControlPacket(uint8_t* packet, uint8_t command) {
  std::memset(packet, 0, kCh375PacketSize);
  packet[0] = command;
  packet[1] = kControlLength;
  return 4;
}

bool IsCh375BootloaderId(ULONG usbId) { return (usbId & 0xFFFF) == 0x4348 || (usbId >> 16) == 0x55E0; }

FirmwareFlasherCh375& FirmwareFlasherCh375::Instance() {
  static FirmwareFlasherCh375 flasher(Ch375Library::Instance());
  return flasher;
}

FirmwareFlasherCh375::FirmwareFlasherCh375(const Ch375Library& library) : m_library(library) {}

bool FirmwareFlasherCh375::FindDevices() {
  std::lock_guard<std::mutex> lock(m_scanLock);
  return ScanLocked() > 0;
}

// Fills the name slots from the first on, in device-index order; returns how many were found.
int FirmwareFlasherCh375::ScanLocked() {
  int count = 0;
  for (ULONG index = 0; index < kMaxDeviceIndex; ++index) {
    if (m_library.OpenDevice(index) == INVALID_HANDLE_VALUE) continue;
    if (IsCh375BootloaderId(m_library.GetUsbId(index))) {
      const char* name = m_library.GetDeviceName(index);
      const size_t length = name ? strnlen(name, kNameSlotSize) : 0;
      // A name that does not fit its slot is left out: opening a cut-off name could
      // reach another device.
      if (length > 0 && length < kNameSlotSize) {
        std::memcpy(m_names[count], name, length + 1);
        ++count;
      }
    }
    m_library.CloseDevice(index);
  }
  return count;
}

HANDLE FirmwareFlasherCh375::OpenFirstDevice() {
  std::lock_guard<std::mutex> lock(m_scanLock);
  if (ScanLocked() == 0) return nullptr;
  HANDLE device = CreateFileA(m_names[0], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (device != INVALID_HANDLE_VALUE) {
    m_library.SetExclusive(device, 1);
    m_library.SetTimeout(device, kTimeoutMs, kTimeoutMs);
  }
  return device;
}

void FirmwareFlasherCh375::LoadImage(const wchar_t* path) { m_imageLength = LoadFirmwareImage(path, m_image); }

// The status is two bytes, both 0 when the bootloader accepted the last packet. The
// buffer starts as 0xFF, so a short read is never taken for an acceptance.
bool FirmwareFlasherCh375::ReadStatus(HANDLE device) {
  uint8_t status[kCh375PacketSize];
  std::memset(status, 0xFF, 5);
  ULONG length = 2;
  return m_library.ReadData(device, status, &length) && status[0] == 0 && status[1] == 0;
}

bool FirmwareFlasherCh375::WriteImage(HANDLE device, uint8_t command, const uint8_t* data, uint32_t length) {
  uint8_t packet[kCh375PacketSize];
  uint32_t offset = 0;
  uint32_t remaining = length;
  while (remaining > 0) {
    const uint32_t size = std::min(kCh375ChunkSize, remaining);
    ULONG written = BuildCh375ChunkPacket(packet, command, offset, data + offset, size);
    if (!m_library.WriteData(device, packet, &written) || !ReadStatus(device)) return false;
    offset += size;
    remaining -= size;
  }
  return true;
}

void FirmwareFlasherCh375::Post(int percent) {
  if (m_progressWnd) PostMessageW(m_progressWnd, WM_KB_FLASH_PROGRESS, static_cast<WPARAM>(percent), 0);
}

void FirmwareFlasherCh375::SetStateAndPost(int state, int percent) {
  m_state.store(state);
  Post(percent);
}

void FirmwareFlasherCh375::CloseDevice() {
  if (m_device && m_device != INVALID_HANDLE_VALUE) CloseHandle(m_device);
  m_device = nullptr;
}

void FirmwareFlasherCh375::FlashFirmware(const wchar_t* path, HWND window) {
  m_progressWnd = window;
  SetStateAndPost(kStateStarted, 5);
  LoadImage(path);
  if (m_imageLength <= kFirmwareImageTooShort) {
    SetStateAndPost(kStateBadImage, 5);
    return;
  }
  m_device = OpenFirstDevice();
  if (!m_device) return;

  SetStateAndPost(kStateErasing, 10);
  uint8_t packet[kCh375PacketSize];
  ULONG length = BuildCh375ControlPacket(packet, CH375_CMD_ERASE);
  if (!m_library.WriteData(m_device, packet, &length) || !ReadStatus(m_device)) {
    CloseDevice();
    SetStateAndPost(kStateEraseFailed, 10);
    return;
  }

  SetStateAndPost(kStateProgramming, 80);
  if (!WriteImage(m_device, CH375_CMD_PROGRAM, m_image, m_imageLength)) {
    CloseDevice();
    SetStateAndPost(kStateProgramFailed, 15);
    return;
  }

  SetStateAndPost(kStateVerifying, 90);
  if (!WriteImage(m_device, CH375_CMD_VERIFY, m_image, m_imageLength)) {
    CloseDevice();
    SetStateAndPost(kStateVerifyFailed, 60);
    return;
  }

  Post(95);
  length = BuildCh375ControlPacket(packet, CH375_CMD_END);
  if (!m_library.WriteData(m_device, packet, &length)) {
    CloseDevice();
    SetStateAndPost(kStateEndFailed, 95);
    return;
  }
  SetStateAndPost(kStateFinished, 100);
  CloseDevice();
}
