// Raw input for the advanced-key page's held-key display: the page's window receives every
// key and mouse event (WM_INPUT) also while another window has the focus, and nobody loses a
// key to it. UI thread only; the system calls go through SystemInputCalls.
#pragma once

#include <windows.h>

#include "app/pages/MacroEvent.h"

// Registers the mouse and the keyboard for the window, also in the background. A refused
// registration is tried once more, then left: the page then shows no keys. Returns the
// window the registration is for (the token its owner keeps), null for no window.
HWND RegisterRawInput(HWND target);

// Ends the process's mouse and keyboard registration; a refusal is tried once more.
void UnregisterRawInput();

// Decodes one WM_INPUT: kind 1 for the mouse, 3 for another device, and for keys kind 2 with
// the press or release, the virtual-key code (the generic Shift, Ctrl and Alt as their left
// keys) and its caption, fixed for the keys whose layout names differ between systems. A
// handle that cannot be read, or reads short, leaves out untouched.
void DecodeRawInput(HRAWINPUT input, MACRO_EVENT& out);
