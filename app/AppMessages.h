// The program's own window messages (WM_KB_*). Every number lives here, so that the
// worker thread, the flashers, the HTTP client, the hook and the main window agree on them.
// All of them are delivered to the main window.
#pragma once

#include <windows.h>

// Sent by the low-level keyboard hook (InputHook) to each registered window: wParam the
// keyboard message of the event, lParam its KBDLLHOOKSTRUCT, valid only during the call. A
// non-zero answer swallows the key. The calibration registers the second message, which the
// main window answers with 1.
constexpr UINT WM_KB_HOOK_INPUT = 0x676;
constexpr UINT WM_KB_HOOK_SWALLOW = 0x677;

// Callback message of the tray icon (lParam the mouse message on the icon); the HTTP client
// also posts its download percentage with it (wParam 0, lParam = percentage).
constexpr UINT WM_KB_TRAY_NOTIFY = 0x69A;

// Posted by any process to end the program: lParam must be kQuitMagic.
constexpr UINT WM_KB_QUIT = 0x69B;
constexpr LPARAM kQuitMagic = 610;

// Posted to the main window when a keyboard in bootloader mode shows up (wParam 99,
// lParam 0), by the device-change handling and by the CH375 arrival callback; the version
// checks post it with wParam 1 (software) or 2 (firmware) and the check's result.
constexpr UINT WM_KB_UPGRADE_NOTIFY = 0x69C;
constexpr WPARAM kUpgradeNotifyBootDevice = 99;

// Popup menus post their chosen item with these (wParam the item's check state, lParam the
// item id): the key page's menus and the macro page's profile menu, the advanced-key page's
// profile menu, the macro page's menu, the performance page's preset menu, the lighting
// page's menus.
constexpr UINT WM_KB_PAGE_MENU = 0x72A;
constexpr UINT WM_KB_PROFILE_MENU = 0x72F;
constexpr UINT WM_KB_MACRO_MENU = 0x731;
constexpr UINT WM_KB_PERF_MENU = 0x734;
constexpr UINT WM_KB_LIGHT_MENU = 0x735;

// Opens the advanced-key editor for a new key of the type in wParam (14 to 19).
constexpr UINT WM_KB_ADVKEY_ADD = 0x72C;
// Posted by the advanced-key editor to the main window: a stored advanced key (wParam 0,
// lParam its id, 0 when storing failed), and a cancelled edit (wParam and lParam 0).
constexpr UINT WM_KB_ADVKEY_APPLIED = 0x72D;
constexpr UINT WM_KB_ADVKEY_CANCELLED = 0x7E8;

// Posted by both firmware flashers to their progress window: wParam is the percentage
// 0..100, lParam 0.
constexpr UINT WM_KB_FLASH_PROGRESS = 0x785;

// The tray menu's only item, which arrives as WM_COMMAND with this wParam: exit.
constexpr WPARAM kTrayExitCommand = 100;
