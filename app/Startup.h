// The steps of start-up that are not the main window: the DPI decision, config.xml's start-up
// part, the language choice, the hidden-start rule, the program's folders and the debug
// privilege. The rules are plain functions over values, so they are tested without a
// screen, a registry or a command line; the functions around them gather those values.
// UI thread only.
#pragma once

#include <windows.h>

#include <set>

#include "ui/core/CString.h"

// Whether the process declares itself DPI-aware for a primary screen of width x height
// pixels whose monitor scales by dpiScale percent.
bool ShouldBeDpiAware(int width, int height, int dpiScale);
// The scale in percent for a monitor's horizontal DPI: up to 96 is 100, 120 is 125, 144,
// 168 and 192 stay as they are, anything else is 100.
int DpiToScale(UINT dpi);
// The scale of the monitor nearest to the screen point (1, 1), through Shcore.dll when the
// system has it; 100 without a monitor, 96 when the function is missing or fails.
int GetDpiScale();

// The language of this run from the stored "LCID" (0: none), the user's UI language and the
// languages config.xml lists; *store receives the id to write back, or 0 for none.
int ChooseLanguage(int storedId, int uiLanguage, const std::set<int>& supported, int* store);
// Sets CurrentLanguage from the registry, the user's UI language and SupportedLanguages,
// writing the choice back where the rule says so.
void SelectLanguage();

// Whether an automatic start shows only the tray icon: the command line holds "autorun", the
// Run value exists and "autorun_minimize" is 1.
bool StartsHidden(const wchar_t* commandLine, bool runValueExists, int autorunMinimize);

// Reads the start-up part of config.xml in the program folder: the listed languages into
// SupportedLanguages (emptied first) and the device name into the library. A missing or
// unreadable file changes nothing else.
void LoadAppConfig();

// The program file's folder without a trailing backslash, from the wide module path.
CString GetExeFolder();
// Makes the folder and every missing folder above it (the drive root excepted); true when
// it exists afterwards.
bool CreateFolderTree(const wchar_t* path);
// Removes the folder and everything in it through the shell, silently; true on success.
// The whole path is handed over, however long: a cut path would name another folder.
bool DeleteFolderTree(const wchar_t* path);
// Enables the debug privilege of the process; false when it was refused.
bool EnableDebugPrivilege();

// The program's log entry point: it discards what it is given.
void WriteLog(int level, const wchar_t* format, ...);
