// Small file helpers for tests that check what the code under test wrote to disk.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// Every file and folder below folder, relative to it and sorted; folders end with "\".
std::vector<std::wstring> ListTree(const std::wstring& folder);
// The whole file as bytes, also while the program holds it open (a store file); empty when
// it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// The folder of the running executable, without a trailing separator.
std::wstring ExecutableFolder();

}  // namespace testsupport
