// Gives one test a device name of its own (Manager::SetDeviceName), so that what the program
// keys on that name (the registry key HKCU "SOFTWARE\<name>", the data folder) is the test's
// alone. The registry key is created when asked for; both the key and the previous name are
// restored when the object goes. UI thread of the test only.
#pragma once

#include "ui/core/CString.h"

namespace testsupport {

class ScopedDeviceName {
 public:
  explicit ScopedDeviceName(bool createKey = true);
  ~ScopedDeviceName();
  ScopedDeviceName(const ScopedDeviceName&) = delete;
  ScopedDeviceName& operator=(const ScopedDeviceName&) = delete;

  const CString& Name() const { return m_name; }
  // "SOFTWARE\<name>" under HKEY_CURRENT_USER.
  CString KeyPath() const;
  // The key's REG_SZ value; false when the key or the value is missing.
  bool ReadValue(const wchar_t* value, CString* text) const;
  void WriteValue(const wchar_t* value, const wchar_t* text) const;

 private:
  CString m_previous;
  CString m_name;
};

}  // namespace testsupport
