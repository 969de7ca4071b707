// MACRO_EVENT, one decoded input event, and the key rule of the low-level keyboard hook that
// the macro recorder, the macro event editor's key field and the key test share: which
// virtual-key code a hook event stands for and the caption the keyboard layout gives it.
// Pure functions over the event record plus the layout's key names; any thread.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"

// Kinds of MACRO_EVENT.
constexpr int kEventRepeat = 0;  // a hook press of a key already held (auto-repeat)
constexpr int kEventMouse = 1;
constexpr int kEventKey = 2;
constexpr int kEventOtherDevice = 3;

struct MACRO_EVENT {
  int kind = kEventRepeat;
  int released = 0;  // 1 for a release, 0 for a press
  int code = 0;      // keys: the virtual-key code
  CString name;      // the key's caption
};

// The virtual-key code of a hook event. The system reports keypad keys typed with Num Lock
// off as the navigation keys (Home, Up, ...) and keypad Enter as Enter; the scan code and the
// flags (not extended, nothing else set) tell them apart, and they get the keypad's codes.
int HookKeyCode(const KBDLLHOOKSTRUCT& event, bool released);

// The keyboard layout's name of a virtual-key code (empty when it has none). The navigation
// keys are named as the extended keys they are, not as their keypad twins.
CString KeyCaption(int code);

// A key event of the hook: kind 2, press or release by the keyboard message, the code by the
// rule above and its caption. False, out untouched, for a message that is no key press or
// release, or without a record.
bool DecodeHookEvent(WPARAM message, const KBDLLHOOKSTRUCT* event, MACRO_EVENT& out);
