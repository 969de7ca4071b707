// The program's own window messages (WM_KB_*). Every number lives here, so that the
// worker thread, the flashers, the HTTP client, the hook and the main window agree on them.
#pragma once

#include <windows.h>

// Sent by the low-level keyboard hook (InputHook) to each registered window: wParam the
// keyboard message of the event, lParam its KBDLLHOOKSTRUCT, valid only during the call. A
// non-zero answer swallows the key. The calibration registers the second message, which the
// main window answers with 1.
constexpr UINT WM_KB_HOOK_INPUT = 0x676;
constexpr UINT WM_KB_HOOK_SWALLOW = 0x677;

// Callback message of the tray icon; the HTTP client also posts its download
// percentage with it (wParam 0, lParam = percentage).
constexpr UINT WM_KB_TRAY_NOTIFY = 0x69A;

// Posted by both firmware flashers to their progress window: wParam is the percentage
// 0..100, lParam 0.
constexpr UINT WM_KB_FLASH_PROGRESS = 0x785;

// Posted to the main window when a keyboard in bootloader mode shows up (wParam 99,
// lParam 0), by the device-change handling and by the CH375 arrival callback.
constexpr UINT WM_KB_UPGRADE_NOTIFY = 0x69C;
constexpr WPARAM kUpgradeNotifyBootDevice = 99;

// Posted by the advanced-key editor to the main window: a stored advanced key (wParam 0,
// lParam its id, 0 when storing failed), and a cancelled edit (wParam and lParam 0).
constexpr UINT WM_KB_ADVKEY_APPLIED = 0x72D;
constexpr UINT WM_KB_ADVKEY_CANCELLED = 0x7E8;
