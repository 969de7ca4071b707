#include "app/PendingFile.h"

PendingFile::PendingFile(const std::wstring& path, DWORD attributes, DWORD shareMode)
    : m_path(path),
      m_handle(CreateFileW(path.c_str(), GENERIC_WRITE, shareMode, nullptr, CREATE_ALWAYS, attributes, nullptr)) {}

PendingFile::~PendingFile() {
  if (m_handle == INVALID_HANDLE_VALUE) return;
  CloseHandle(m_handle);
  if (m_keep) return;
  // A read-only file cannot be deleted until the attribute is taken off again.
  SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(m_path.c_str());
}

bool PendingFile::Write(const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(m_handle, data, size, &written, nullptr) && written == size;
}
