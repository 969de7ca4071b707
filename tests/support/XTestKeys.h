// Real key events for tests, typed through the X server's test extension by the script
// xtest/xkeys.py: they reach the program as a person's typing does, with the scan codes and
// flags that SendInput cannot give (SendInput's events are marked injected, and a scan-code
// input arrives without its virtual key). The script moves the pointer to a screen point
// first: with no window manager the keyboard focus follows the pointer.
//
// The script is a Unix program started from the Windows side; its exit status does not come
// back, so it reports through a marker file, and it leaves Num Lock as it found it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Runs the script with the pointer at `at` and the steps (X key names; "+Name" presses only,
// "-Name" releases only; "--numlock-off" switches Num Lock off first) while pumping this
// thread's messages, so that hooks and windows of the thread see the keys as they come.
// Returns "ok" when every step went through, else what failed (the script's own words, or
// that it could not be started or did not finish within timeoutMs).
std::string TypeXKeys(POINT at, const std::vector<std::string>& steps, DWORD timeoutMs = 15000);

}  // namespace testsupport
