#include "FileBytes.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace testsupport {

std::wstring WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool ok =
      file != INVALID_HANDLE_VALUE &&
      (bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
      written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  EXPECT_TRUE(ok) << "cannot write the test file";
  return path;
}

std::vector<uint8_t> PatternBytes(size_t length) {
  std::vector<uint8_t> bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8) * 13 + 1);
  return bytes;
}

}  // namespace testsupport
