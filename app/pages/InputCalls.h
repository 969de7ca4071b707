// The system calls of keyboard capture (the low-level hook, raw-input registration and the
// reading of raw input), reached through one table of function pointers. The table holds the
// real user32 functions; tests replace entries to count calls and to make them fail, and put
// the saved table back afterwards. UI thread only, like everything that uses it.
#pragma once

#include <windows.h>

struct InputCalls {
  HHOOK(WINAPI* setWindowsHookEx)(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
  BOOL(WINAPI* unhookWindowsHookEx)(HHOOK hook);
  LRESULT(WINAPI* callNextHookEx)(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
  BOOL(WINAPI* registerRawInputDevices)(PCRAWINPUTDEVICE devices, UINT count, UINT size);
  UINT(WINAPI* getRawInputData)(HRAWINPUT input, UINT command, LPVOID data, PUINT size, UINT headerSize);
};

// The table in use (the real functions until a test replaces them).
InputCalls& SystemInputCalls();
