// The program's own modal message box.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"

// Shows a modal message box on the calling thread and returns when it closes: 1 for OK
// (the first button), 2 for Cancel (the second button, or a box closed from outside).
// buttonMode 0 shows one button, 4 shows OK and Cancel. A null owner gives an unowned box.
int ShowMessageBox(HWND owner, const CString& message, const CString& title, int buttonMode);
