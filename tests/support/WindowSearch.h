// Finds windows of this thread by owner and class name (the tooltip, shadow and balloon
// windows that the library creates for a window, the in-place edit windows), and top-level
// windows of another process by class and title.
#pragma once

#include <windows.h>

namespace testsupport {

// The first window of the calling thread owned by owner whose class is className (letter
// case ignored); null when there is none.
HWND FindOwnedWindow(HWND owner, const wchar_t* className);

// The first visible window of the calling thread, top-level or child at any depth, whose
// class is className (letter case ignored); null when none is visible.
HWND FindVisibleWindow(const wchar_t* className);

// The first top-level window of the process, shown or hidden (only shown ones when shownOnly),
// whose class and title are exactly these (any title when title is null); null when there is
// none.
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title, bool shownOnly = false);

}  // namespace testsupport
