// Firmware upgrade through the keyboard's HID bootloader. RequestBootloaderMode asks a
// running keyboard to restart into its bootloader; FirmwareFlasherHid loads an image file
// and writes it through the bootloader interface: start, program, verify, end and final,
// posting WM_KB_FLASH_PROGRESS percentages to its progress window and showing a message box
// on failure. Every packet travels through HidDeviceManager's boot device, which the flasher
// sets when the bootloader opens and closes on every way out after that.
// One flasher for the whole program (Instance), alive until exit; it runs on the worker
// thread only, which runs no other device task meanwhile, so it needs no lock.
#pragma once

#include <windows.h>

#include <cstdint>

#include "device/FirmwareImage.h"

// BOOT_PACKET: BOOT_PACKET_SIZE bytes; byte 0 report id 0, byte 1 command, byte 2 a
// parameter (a length, fixed per command), the command's fields from byte 3, the rest 0.
enum BootCommand : uint8_t {
  BOOT_CMD_ENTER = 0x5F,    // to the running keyboard: restart into the bootloader
  BOOT_CMD_PROGRAM = 0x80,  // byte 2 chunk length 1..32, bytes 3-6 offset (LE), then the chunk
  BOOT_CMD_START = 0x81,    // bytes 3-4 bootloader VID, 5-6 bootloader PID (LE)
  BOOT_CMD_VERIFY = 0x82,   // as program
  BOOT_CMD_END = 0x83,
  BOOT_CMD_FINAL = 0x84,
};

constexpr uint32_t kBootChunkSize = 32;

void BuildEnterBootloaderPacket(uint8_t* packet);
void BuildStartPacket(uint8_t* packet, uint16_t bootVid, uint16_t bootPid);
// A program or verify packet for the size bytes (1..32) of chunk at offset in the image.
void BuildChunkPacket(uint8_t* packet, uint8_t command, uint32_t offset, const uint8_t* chunk, uint32_t size);
// An end or final packet.
void BuildClosingPacket(uint8_t* packet, uint8_t command);
// A reply is accepted when its bytes 0 and 1 are both 0.
bool IsBootReplyAccepted(const uint8_t* reply);
// The percentage posted before chunk i of an image of chunkCount = length / 32 whole chunks:
// 15 towards 60 while programming, 60 towards 95 while verifying; -1 for other commands.
// An image shorter than one whole chunk posts the stage's first value.
int BootChunkProgress(uint8_t command, uint32_t chunk, uint32_t chunkCount);

// Asks the running keyboard with these ids (its interface of usage page 1, usage 0) to restart
// into its bootloader, then waits 2000 ms for it to do so. Returns at once when that interface
// does not open.
void RequestBootloaderMode(int vid, int pid);

class FirmwareFlasherHid {
 public:
  static FirmwareFlasherHid& Instance();
  FirmwareFlasherHid(const FirmwareFlasherHid&) = delete;
  FirmwareFlasherHid& operator=(const FirmwareFlasherHid&) = delete;

  // The whole upgrade through the bootloader with these ids; true when the image was
  // programmed and verified. window receives the progress and owns the message boxes.
  bool FlashFirmware(int bootVid, int bootPid, const wchar_t* path, HWND window);
  void LoadImage(const wchar_t* path);
  // Sends length bytes of data as command packets of at most 32 bytes; false at the first
  // packet that is not sent, not answered or not accepted.
  bool WriteImage(uint8_t command, const uint8_t* data, int length);

 private:
  FirmwareFlasherHid() = default;

  bool Exchange(uint8_t* packet);
  void Post(int percent);
  bool Fail(int textId);

  uint32_t m_imageLength = 0;
  uint8_t m_image[kFirmwareImageCapacity] = {};
  HWND m_progressWnd = nullptr;
};
