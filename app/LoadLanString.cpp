// The program's language texts. Kept apart from the rest of the shell's code: suites that
// link the device code without the program's windows put a recording stand-in in its place.
#include "app/Language.h"

CString LoadLanString(const wchar_t* section, int textId) {
  CString key;
  key.Format(L"%d", textId);
  return ReadIniString(section, key, LanguageFilePath(CurrentLanguage.load()));
}
