// The program's own window messages (WM_KB_*). Every number lives here, so that the
// worker thread, the flashers, the HTTP client, the hook and the main window agree on them.
#pragma once

#include <windows.h>

// Callback message of the tray icon; the HTTP client also posts its download
// percentage with it (wParam 0, lParam = percentage).
constexpr UINT WM_KB_TRAY_NOTIFY = 0x69A;

// Posted by both firmware flashers to their progress window: wParam is the percentage
// 0..100, lParam 0.
constexpr UINT WM_KB_FLASH_PROGRESS = 0x785;
