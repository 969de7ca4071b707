#include "TempFolder.h"

#include <windows.h>

#include <atomic>

namespace testsupport {

TempFolder::TempFolder(const std::wstring& label) {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, base);
  const std::wstring stem = std::wstring(base) + L"tavir_" + std::to_wstring(GetCurrentProcessId()) + L"_";
  for (;;) {
    m_path = stem + std::to_wstring(counter++) + label + L"\\";
    if (CreateDirectoryW(m_path.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempFolder::~TempFolder() { DeleteTree(m_path.substr(0, m_path.size() - 1)); }

std::wstring TempFolder::MakeSubFolder(const std::wstring& name) const {
  const std::wstring path = m_path + name + L"\\";
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

void DeleteTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") DeleteTree(path + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace testsupport
