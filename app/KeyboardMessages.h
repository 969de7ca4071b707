// The program's own window messages. Every WM_KB_* number lives here, so that the
// worker thread, the flashers, the hook and the main window agree on them.
#pragma once

#include <windows.h>

// Callback message of the tray icon; the HTTP client also posts its download
// percentage with it (wParam 0, lParam = percentage).
constexpr UINT WM_KB_TRAY_NOTIFY = 1690;  // 0x69A
