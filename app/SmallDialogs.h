// The window styles of the program's small modal dialogs (message box, wait dialog, upgrade
// progress): frame-less popups kept off the taskbar.
#pragma once

#include <windows.h>

#include "ui/core/GdiplusHeaders.h"

constexpr DWORD kSmallDialogStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kSmallDialogExStyle = WS_EX_TOOLWINDOW;

// Text on the dialogs' backgrounds: the skin set draws them dark, and the library's default
// text colour is dark too.
constexpr Gdiplus::ARGB kDialogTextColour = 0xFFE8EAF0;
