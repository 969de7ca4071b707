// REG_SZ values of keys under HKEY_CURRENT_USER, for tests that check what the program stored
// under its device name or plant values before it reads them.
#pragma once

#include <optional>
#include <string>

namespace testsupport {

// The value's text; nullopt when the key or the value is missing or is not REG_SZ.
std::optional<std::wstring> ReadUserValue(const std::wstring& keyPath, const wchar_t* value);
// Writes the value, creating the key when needed.
void WriteUserValue(const std::wstring& keyPath, const wchar_t* value, const wchar_t* text);

}  // namespace testsupport
