// Recording versions of the program's message box and language texts, for suites that
// link the device code without the program's windows: ShowMessageBox records the call
// and answers OK at once; LoadLanString answers "<section>#<id>" (see LanText), so a test
// reads which text ids a message box showed, or nothing while the language file is made
// missing (LanguageFileMissing). Calls may come from any thread.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/CString.h"

namespace testsupport {

struct MessageBoxCall {
  HWND owner;
  CString message;
  CString title;
  int buttonMode;
};

// Every ShowMessageBox call since the last ClearMessageBoxes, oldest first.
std::vector<MessageBoxCall> MessageBoxes();
void ClearMessageBoxes();

// What LoadLanString gives for textId of section "KB.DIALOG".
CString LanText(int textId);

// While one of these lives, LoadLanString answers an empty text, as it does when the
// language file is missing. Not nested.
class LanguageFileMissing {
public:
  LanguageFileMissing();
  ~LanguageFileMissing();
  LanguageFileMissing(const LanguageFileMissing&) = delete;
  LanguageFileMissing& operator=(const LanguageFileMissing&) = delete;
};

}  // namespace testsupport
