// The program's per-user and installation folders. Plain functions of the shell, safe
// on any thread once start-up has set the device name.
#pragma once

#include "ui/core/CString.h"
#include "ui/core/Manager.h"

// The folder of the program file, ending in a backslash: the library's function serves
// the program too.
using TESK::GetProgramFolder;

// The user's local application-data folder followed by "\<device name> Files\", ending
// in a backslash. Creates nothing; below it live "db" (the settings databases), "edit"
// and "temp". Start-up creates "db" before any database is opened.
CString GetDataFolder();
