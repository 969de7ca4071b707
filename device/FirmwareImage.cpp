#include "device/FirmwareImage.h"

#include <windows.h>

#include <cstring>

namespace {

// Closes the file on every way out of the load.
struct FileCloser {
  HANDLE file;
  ~FileCloser() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};

}  // namespace

uint32_t LoadFirmwareImage(const wchar_t* path, uint8_t* buffer) {
  std::memset(buffer, 0, kFirmwareImageCapacity);
  if (!path) return 0;
  FileCloser file{
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.file == INVALID_HANDLE_VALUE) return 0;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.file, &size) || size.QuadPart > kFirmwareImageCapacity) return 0;
  // Read to the end of the file, so a file that grew since its size was taken is noticed.
  DWORD total = 0;
  for (;;) {
    DWORD got = 0;
    if (total == kFirmwareImageCapacity) {
      uint8_t extra;
      if (!ReadFile(file.file, &extra, 1, &got, nullptr) || got != 0) break;
      return (total + 3) & ~3u;
    }
    if (!ReadFile(file.file, buffer + total, kFirmwareImageCapacity - total, &got, nullptr)) break;
    if (got == 0) return (total + 3) & ~3u;
    total += got;
  }
  std::memset(buffer, 0, kFirmwareImageCapacity);
  return 0;
}
