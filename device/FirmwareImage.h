// Firmware image files as both flashers load them: the whole file in a fixed buffer of
// kFirmwareImageCapacity bytes, padded with zero bytes to a multiple of four.
// Plain functions over a caller-owned buffer; no state, callable from any thread.
#pragma once

#include <cstdint>

constexpr uint32_t kFirmwareImageCapacity = 819200;

// Images of this many bytes or fewer are refused by both flashers.
constexpr uint32_t kFirmwareImageTooShort = 10;

// Zero-fills buffer (kFirmwareImageCapacity bytes) and reads the file at path into it.
// Returns the image length: the file's length rounded up to a multiple of four. A file
// that cannot be opened or read, or that is larger than the buffer, gives 0, so that
// a failed load can never leave a zero-filled image to be flashed.
uint32_t LoadFirmwareImage(const wchar_t* path, uint8_t* buffer);
