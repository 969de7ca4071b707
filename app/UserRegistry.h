// The program's values in the current user's registry: the key "SOFTWARE\<device name>" of
// HKEY_CURRENT_USER, whose values are REG_SZ decimal texts ("LCID", "autorun_minimize",
// "exit_mode", "DeviceType"), and the Run value named after the device. UI thread (the device
// link writes "DeviceType" from the worker through WriteRegistryString too; each call opens
// and closes the key).
#pragma once

#include "ui/core/CString.h"

// "SOFTWARE\<device name>".
CString UserKeyPath();

// The "LCID" value: its number, 0 when it is missing or not a number (a missing key is made
// then), 2052 when the key can be neither opened nor made.
int GetLanguageId();
// Writes "LCID"; nothing when the key does not open.
void SetLanguageId(int id);
// A value of the key as a number; every failure gives 0 (a missing key is made first).
int ReadRegistryInt(const wchar_t* name);
// Writes a REG_SZ value of the key; nothing when the key does not open.
void WriteRegistryString(const wchar_t* name, const wchar_t* text);
// Whether the Run key holds a value named after the device.
bool RunValueExists();
// The command the Run value starts: the program file of the program folder, quoted because
// the folder may hold spaces, then "-autorun".
CString AutorunCommand();
// Sets (REG_SZ) or deletes the Run value named after the device; false when the Run key does
// not open or the change fails.
bool WriteRunValue(const wchar_t* command);
bool DeleteRunValue();

// The decimal number at the start of a registry text of at most maxChars characters, which
// need not be terminated; 0 when it holds none.
int RegistryTextToInt(const wchar_t* text, size_t maxChars);
