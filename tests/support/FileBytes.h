// Files of given bytes for tests that feed the program files (firmware images and the like).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Writes bytes to path, replacing the file; returns path. Fails the test when it cannot.
std::wstring WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

// length bytes in which no 256-byte stretch repeats, so a byte moved to a wrong offset shows.
std::vector<uint8_t> PatternBytes(size_t length);

}  // namespace testsupport
