#include "ScopedDeviceName.h"

#include <windows.h>

#include <atomic>

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
  wchar_t buffer[256] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, KeyPath(), value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
    return false;
  }
  *text = buffer;
  return true;
}

void ScopedDeviceName::WriteValue(const wchar_t* value, const wchar_t* text) const {
  RegSetKeyValueW(HKEY_CURRENT_USER, KeyPath(), value, REG_SZ, text,
                  static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

}  // namespace testsupport
