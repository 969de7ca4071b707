#include "device/FirmwareImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "FileBytes.h"
#include "TempFolder.h"

namespace {

using testsupport::PatternBytes;

TEST(FirmwareImageTest, FileLengthsGiveTheImageLengthOrNothing) {
  struct Case {
    const char* what;
    long fileLength;  // -1: no file
    uint32_t imageLength;
  } const cases[] = {
      {"a missing file", -1, 0},
      {"an empty file", 0, 0},
      {"one byte is padded to four", 1, 4},
      {"nine bytes are padded to twelve", 9, 12},
      {"1001 bytes are padded to 1004", 1001, 1004},
      {"a file that fills the buffer", 819200, 819200},
      {"one byte more than fits", 819201, 0},
  };
  testsupport::TempFolder folder;
  auto buffer = std::make_unique<uint8_t[]>(kFirmwareImageCapacity);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto bytes = PatternBytes(c.fileLength < 0 ? 0 : c.fileLength);
    const std::wstring path = c.fileLength < 0 ? folder.Path() + L"missing.bin"
                                               : testsupport::WriteFileBytes(folder.Path() + L"image.bin", bytes);
    // A good image loaded before must not survive a failed load.
    std::memset(buffer.get(), 0x5A, kFirmwareImageCapacity);
    EXPECT_EQ(c.imageLength, LoadFirmwareImage(path.c_str(), buffer.get()));
    const size_t kept = c.imageLength ? bytes.size() : 0;
    EXPECT_EQ(0, std::memcmp(buffer.get(), bytes.data(), kept));
    for (size_t i = kept; i < kFirmwareImageCapacity; ++i) {
      if (buffer[i] != 0) {
        ADD_FAILURE() << "byte " << i << " is not zero";
        break;
      }
    }
  }
}

}  // namespace
