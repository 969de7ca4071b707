#include "device/FirmwareFlasherHid.h"

#include <algorithm>
#include <cstring>

#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "device/HidDeviceManager.h"

namespace {

constexpr uint16_t kBootUsagePage = 0xFF00;
constexpr uint16_t kBootUsage = 1;
constexpr uint16_t kKeyboardUsagePage = 1;
constexpr uint16_t kKeyboardUsage = 0;
constexpr DWORD kRestartWaitMs = 2000;

// Language texts of the failure messages (section "KB.DIALOG").
constexpr int kTextTitle = 1057;
constexpr int kTextNoBootloader = 1059;
constexpr int kTextBadImage = 1060;
constexpr int kTextStartRefused = 1061;
constexpr int kTextProgramFailed = 1062;
constexpr int kTextVerifyFailed = 1063;

void PutLe16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value & 0xFF);
  at[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

void BuildEnterBootloaderPacket(uint8_t* packet) {
  std::memset(packet, 0, BOOT_PACKET_SIZE);
  packet[1] = BOOT_CMD_ENTER;
  packet[2] = 0x06;
  packet[5] = 0x01;
  packet[9] = 0x51;
}

void BuildStartPacket(uint8_t* packet, uint16_t bootVid, uint16_t bootPid) {
  std::memset(packet, 0, BOOT_PACKET_SIZE);
  packet[1] = BOOT_CMD_START;
  packet[2] = 0x07;
  PutLe16(packet + 3, bootVid);
  PutLe16(packet + 5, bootPid);
}

void BuildChunkPacket(uint8_t* packet, uint8_t command, uint32_t offset, const uint8_t* chunk, uint32_t size) {
  std::memset(packet, 0, BOOT_PACKET_SIZE);
  packet[1] = command;
  packet[2] = static_cast<uint8_t>(size);
  PutLe16(packet + 3, static_cast<uint16_t>(offset & 0xFFFF));
  PutLe16(packet + 5, static_cast<uint16_t>(offset >> 16));
  std::memcpy(packet + 7, chunk, size);
}

void BuildClosingPacket(uint8_t* packet, uint8_t command) {
  std::memset(packet, 0, BOOT_PACKET_SIZE);
  packet[1] = command;
  packet[2] = 0x01;
}

bool IsBootReplyAccepted(const uint8_t* reply) { return reply[0] == 0 && reply[1] == 0; }

int BootChunkProgress(uint8_t command, uint32_t chunk, uint32_t chunkCount) {
  int base, span;
  switch (command) {
    case BOOT_CMD_PROGRAM:
      base = 15, span = 45;
      break;
    case BOOT_CMD_VERIFY:
      base = 60, span = 35;
      break;
    default:
      return -1;
  }
  if (chunkCount == 0) return base;  // an image of less than one whole chunk
  return base + static_cast<int>(static_cast<uint64_t>(span) * chunk / chunkCount);
}

void RequestBootloaderMode(int vid, int pid) {
  hid_device* keyboard = OpenHidDeviceByUsage(vid, pid, kKeyboardUsagePage, kKeyboardUsage);
  if (!keyboard) return;
  HidDeviceManager& manager = HidDeviceManager::Instance();
  manager.SetBootDevice(keyboard);
  uint8_t packet[BOOT_PACKET_SIZE];
  BuildEnterBootloaderPacket(packet);
  manager.TransferBootPacket(packet);  // a restarting keyboard may answer nothing
  Sleep(kRestartWaitMs);
  manager.CloseBootDevice(keyboard);
}

FirmwareFlasherHid& FirmwareFlasherHid::Instance() {
  static FirmwareFlasherHid flasher;
  return flasher;
}

void FirmwareFlasherHid::LoadImage(const wchar_t* path) { m_imageLength = LoadFirmwareImage(path, m_image); }

bool FirmwareFlasherHid::Exchange(uint8_t* packet) {
  return HidDeviceManager::Instance().TransferBootPacket(packet) && IsBootReplyAccepted(packet);
}

void FirmwareFlasherHid::Post(int percent) {
  if (m_progressWnd) PostMessageW(m_progressWnd, WM_KB_FLASH_PROGRESS, static_cast<WPARAM>(percent), 0);
}

bool FirmwareFlasherHid::Fail(int textId) {
  ShowMessageBox(m_progressWnd, LoadLanString(L"KB.DIALOG", textId), LoadLanString(L"KB.DIALOG", kTextTitle), 0);
  return false;
}

bool FirmwareFlasherHid::WriteImage(uint8_t command, const uint8_t* data, int length) {
  if (length <= 0) return true;
  const uint32_t total = static_cast<uint32_t>(length);
  const uint32_t chunkCount = total / kBootChunkSize;
  uint8_t packet[BOOT_PACKET_SIZE];
  for (uint32_t chunk = 0, offset = 0; offset < total; ++chunk, offset += kBootChunkSize) {
    const int percent = BootChunkProgress(command, chunk, chunkCount);
    if (percent >= 0) Post(percent);
    BuildChunkPacket(packet, command, offset, data + offset, std::min(kBootChunkSize, total - offset));
    if (!Exchange(packet)) return false;
  }
  return true;
}

bool FirmwareFlasherHid::FlashFirmware(int bootVid, int bootPid, const wchar_t* path, HWND window) {
  m_progressWnd = window;
  Post(5);
  LoadImage(path);
  if (m_imageLength <= kFirmwareImageTooShort) {
    Fail(kTextBadImage);
    Post(5);
    return false;
  }
  hid_device* boot = OpenHidDeviceByUsage(bootVid, bootPid, kBootUsagePage, kBootUsage);
  if (!boot) return Fail(kTextNoBootloader);
  HidDeviceManager& manager = HidDeviceManager::Instance();
  manager.SetBootDevice(boot);
  Post(10);

  // On a failure the message box comes first, then the bootloader is let go.
  auto failAndClose = [&](int textId) {
    Fail(textId);
    manager.CloseBootDevice(boot);
    return false;
  };
  const int length = static_cast<int>(m_imageLength);
  uint8_t packet[BOOT_PACKET_SIZE];
  BuildStartPacket(packet, static_cast<uint16_t>(bootVid), static_cast<uint16_t>(bootPid));
  if (!Exchange(packet)) return failAndClose(kTextStartRefused);
  Post(15);
  if (!WriteImage(BOOT_CMD_PROGRAM, m_image, length)) return failAndClose(kTextProgramFailed);
  Post(60);
  if (!WriteImage(BOOT_CMD_VERIFY, m_image, length)) return failAndClose(kTextVerifyFailed);

  // The image is in and verified: a refused closing packet costs the bootloader, not the result.
  Post(95);
  BuildClosingPacket(packet, BOOT_CMD_END);
  if (!Exchange(packet)) manager.CloseBootDevice(manager.GetBootDevice());
  Post(98);
  BuildClosingPacket(packet, BOOT_CMD_FINAL);
  if (!Exchange(packet)) manager.CloseBootDevice(manager.GetBootDevice());
  Post(100);
  // The bootloader restarts into the new firmware; its handle is of no further use.
  manager.CloseBootDevice(manager.GetBootDevice());
  return true;
}
