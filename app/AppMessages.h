// Window messages that the device link posts to the program's windows.
#pragma once

#include <windows.h>

// Posted by both firmware flashers to their progress window: wParam is the percentage
// 0..100, lParam 0.
constexpr UINT WM_KB_FLASH_PROGRESS = 0x785;
