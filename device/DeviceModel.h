// The keyboard models the program knows, and the small free functions of model selection and
// hot-plug: the remembered model in the registry, the configuration-interface test of a
// device path, the CH375 arrival callback, and the matrix position of a layout key.
// Plain data and functions; the registry and CH375 functions may run on any thread.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"

// One keyboard model.
struct DEVICE_MODEL {
  CString name;
  int modelId = 0;
  CString displayName;  // names the layout file
  int flag = 0;
  int vid = 0;
  int pid = 0;
  int bootVid = 0;
  int bootPid = 0;
  CString interfaceName;  // "USB"
  CString text1, text2;
  CString pattern;  // identifies the configuration interface in a device path (upper case)
  CString text3, text4;
  int connected = 0;  // an open interface has the model's VID and PID
  int last = -1;
};

// The built-in table, in the order the program lists the models.
struct ModelRow {
  int modelId;
  const wchar_t* name;  // also the display name
  int vid, pid, bootVid, bootPid;
  const wchar_t* pattern;
};
constexpr ModelRow kModelTable[] = {
    {101, L"Lynt 30", 0x19F5, 0xFD50, 0x19F5, 0xFF30, L"VID_19F5&PID_FD50&MI_01"},
    {102, L"Lynt 65", 0x19F5, 0xFD51, 0x19F5, 0xFF37, L"VID_19F5&PID_FD51&MI_01"},
    {103, L"Lynt 80", 0x19F5, 0xFD52, 0x19F5, 0xFF38, L"VID_19F5&PID_FD52&MI_01"},
};
constexpr int kFirstModelId = 101;

// Registry value "DeviceType" (REG_SZ, decimal) under HKCU "SOFTWARE\<device name>". Reading
// gives 0 when the key is missing and for a text that is no number; writing does nothing
// when the key does not exist.
int ReadDeviceTypeSetting();
void WriteDeviceTypeSetting(int modelId);

// True when the interface at path has input and output reports of exactly 65 bytes.
bool IsConfigInterface(const char* path);

// The CH375 library's arrival callback (on the library's thread): for events 0 and 3, when a
// CH375 bootloader is present, posts WM_KB_UPGRADE_NOTIFY (99, 0) to the window given last to
// SetCh375NotifyWindow.
void WINAPI Ch375DeviceEvent(ULONG eventCode);
void SetCh375NotifyWindow(HWND window);

// A layout key's "row_col" ("r,c" or "r,cc"): the row is the first character's value, the
// column the last character's (text of 3) or the last two characters' (longer text); a
// non-digit start reads 0. False for a text shorter than 3 characters.
bool ParseRowCol(const CString& text, int* row, int* column);
