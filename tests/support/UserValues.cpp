#include "UserValues.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace testsupport {

std::optional<std::wstring> ReadUserValue(const std::wstring& keyPath, const wchar_t* value) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), value, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer.data());
}

void WriteUserValue(const std::wstring& keyPath, const wchar_t* value, const wchar_t* text) {
  RegSetKeyValueW(HKEY_CURRENT_USER, keyPath.c_str(), value, REG_SZ, text,
                  static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

}  // namespace testsupport
