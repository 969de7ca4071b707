#include "app/Language.h"

#include <windows.h>

#include "app/ProgramFolders.h"

std::atomic<int> CurrentLanguage{1033};
std::set<int> SupportedLanguages;

namespace {

// The private-profile reader cuts values to the buffer: 259 characters and the terminator.
constexpr DWORD kValueBuffer = 260;

}  // namespace

CString ReadIniString(const wchar_t* section, const wchar_t* key, const wchar_t* file) {
  if (!section || !key || !file) return CString();
  wchar_t value[kValueBuffer] = {};
  GetPrivateProfileStringW(section, key, L"", value, kValueBuffer, file);
  return CString(value);
}

CString LanguageFilePath(int language) {
  CString path;
  path.Format(L"%slanguage\\%d.lan", static_cast<const wchar_t*>(GetProgramFolder()), language);
  return path;
}
