#include "app/UserRegistry.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "app/ProgramFolders.h"
#include "ui/core/Manager.h"

namespace {

constexpr DWORD kValueBytes = 512;
constexpr int kUnreadableLanguage = 2052;
const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kProgramFile[] = L"TAVIR KEYBOARD.exe";

// Opens the Run key with full access and hands it to change; false when it does not open.
template <class Change>
bool ChangeRunKey(Change change) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  const bool done = change(key) == ERROR_SUCCESS;
  RegCloseKey(key);
  return done;
}

// Opens the user key with full access; with create, a missing key is made.
LSTATUS OpenUserKey(HKEY* key, bool create) {
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, UserKeyPath(), 0, KEY_ALL_ACCESS, key);
  if (status == ERROR_FILE_NOT_FOUND && create) {
    status = RegCreateKeyExW(HKEY_CURRENT_USER, UserKeyPath(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key, nullptr);
    if (status == ERROR_SUCCESS) {
      RegCloseKey(*key);
      return ERROR_FILE_NOT_FOUND;  // made now, so it holds no value yet
    }
  }
  return status;
}

// The value as a number; 0 when it is missing or not a number.
int ReadValue(HKEY key, const wchar_t* name) {
  // One character more than the value may fill, so the text stays terminated.
  wchar_t text[kValueBytes / sizeof(wchar_t) + 1] = {};
  DWORD size = kValueBytes;
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS) return 0;
  return RegistryTextToInt(text, kValueBytes / sizeof(wchar_t));
}

int ReadNumber(const wchar_t* name, int onFailure) {
  HKEY key = nullptr;
  const LSTATUS status = OpenUserKey(&key, true);
  if (status == ERROR_FILE_NOT_FOUND) return 0;
  if (status != ERROR_SUCCESS) return onFailure;
  const int value = ReadValue(key, name);
  RegCloseKey(key);
  return value;
}

}  // namespace

CString UserKeyPath() {
  CString path;
  path.Format(L"SOFTWARE\\%s", TESK::Manager::GetDeviceName().GetString());
  return path;
}

int RegistryTextToInt(const wchar_t* text, size_t maxChars) {
  if (!text) return 0;
  const std::wstring bounded(text, wcsnlen(text, maxChars));
  return static_cast<int>(std::wcstol(bounded.c_str(), nullptr, 10));
}

int GetLanguageId() { return ReadNumber(L"LCID", kUnreadableLanguage); }

int ReadRegistryInt(const wchar_t* name) { return ReadNumber(name, 0); }

void WriteRegistryString(const wchar_t* name, const wchar_t* text) {
  if (!name || !text) return;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, UserKeyPath(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  const DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
  RegCloseKey(key);
}

void SetLanguageId(int id) {
  CString text;
  text.Format(L"%d", id);
  WriteRegistryString(L"LCID", text);
}

bool RunValueExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  const bool exists =
      RegQueryValueExW(key, TESK::Manager::GetDeviceName(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return exists;
}

CString AutorunCommand() {
  CString command;
  command.Format(L"\"%s%s\" -autorun", GetProgramFolder().GetString(), kProgramFile);
  return command;
}

bool WriteRunValue(const wchar_t* command) {
  if (!command) return false;
  const DWORD bytes = static_cast<DWORD>((wcslen(command) + 1) * sizeof(wchar_t));
  return ChangeRunKey([&](HKEY key) {
    return RegSetValueExW(key, TESK::Manager::GetDeviceName(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                          bytes);
  });
}

bool DeleteRunValue() {
  return ChangeRunKey([](HKEY key) { return RegDeleteValueW(key, TESK::Manager::GetDeviceName()); });
}
