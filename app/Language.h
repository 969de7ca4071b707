// Texts of the user's language, read from the language file of the program folder:
// "<program folder>language\<language id>.lan", an initialisation file whose sections
// ("KB.DIALOG" for almost every text, "CAPTION" for the two caption texts) map decimal
// text ids to texts.
#pragma once

#include <atomic>
#include <set>

#include "ui/core/CString.h"

// The language (a Windows LCID) whose file supplies every text. Start-up and the settings
// page write it on the UI thread; LoadLanString reads it on any thread.
extern std::atomic<int> CurrentLanguage;
// The language ids config.xml lists, emptied before every reading. UI thread only.
extern std::set<int> SupportedLanguages;

// The text with the decimal key textId in section of the current language file; empty
// when the file, the section or the key is missing. Reads the file on every call. A text
// is only ever an argument of a format, never the format itself.
CString LoadLanString(const wchar_t* section, int textId);

// The value of key in section of the initialisation file, at most 259 characters; empty
// when the file, the section or the key is missing.
CString ReadIniString(const wchar_t* section, const wchar_t* key, const wchar_t* file);

// The language file of the language id in the program folder.
CString LanguageFilePath(int language);
