// A file being written whose content counts only once it is complete: created anew
// when the object is made, closed when it goes, and deleted then unless Keep was
// called. Unpacked entries and downloads use it, so that a half-written firmware
// image or installer is never left behind for the next step to use.
#pragma once

#include <windows.h>

#include <string>

class PendingFile {
public:
  PendingFile(const std::wstring& path, DWORD attributes, DWORD shareMode);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE Handle() const { return m_handle; }
  // True when all size bytes were written.
  bool Write(const void* data, DWORD size);
  void Keep() { m_keep = true; }

private:
  std::wstring m_path;
  HANDLE m_handle;
  bool m_keep = false;
};
