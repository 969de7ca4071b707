// Texts of the user's language, read from the language file of the program folder.
#pragma once

#include "ui/core/CString.h"

// The text with the decimal key textId in section of the current language file; empty
// when the file, the section or the key is missing. Reads the file on every call.
CString LoadLanString(const wchar_t* section, int textId);
