#include "ScopedDeviceName.h"

#include <windows.h>

#include <atomic>

#include "UserValues.h"
#include "ui/core/Manager.h"

namespace testsupport {

namespace {
std::atomic<int> g_serial{0};
}

ScopedDeviceName::ScopedDeviceName(bool createKey) : m_previous(TESK::Manager::GetDeviceName()) {
  m_name.Format(L"TavirTest %lu-%d", GetCurrentProcessId(), ++g_serial);
  TESK::Manager::SetDeviceName(m_name);
  if (createKey) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      RegCloseKey(key);
    }
  }
}

ScopedDeviceName::~ScopedDeviceName() {
  RegDeleteTreeW(HKEY_CURRENT_USER, KeyPath());
  RegDeleteKeyW(HKEY_CURRENT_USER, KeyPath());
  TESK::Manager::SetDeviceName(m_previous);
}

CString ScopedDeviceName::KeyPath() const { return CString(L"SOFTWARE\\") + m_name; }

bool ScopedDeviceName::ReadValue(const wchar_t* value, CString* text) const {
  const std::optional<std::wstring> stored = ReadUserValue(KeyPath().GetString(), value);
  if (!stored) return false;
  *text = stored->c_str();
  return true;
}

void ScopedDeviceName::WriteValue(const wchar_t* value, const wchar_t* text) const {
  WriteUserValue(KeyPath().GetString(), value, text);
}

}  // namespace testsupport
