// The module handle of tesk.dll itself, kept by the library's entry point when the DLL is
// loaded. It serves only to find the library's own resources (its PNG images and fonts);
// window classes, windows and icons use the program's instance (Manager::GetInstance).
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"

namespace TESK {

// Null only before the DLL has been attached to the process.
TESK_API HMODULE GetLibraryModule();

}  // namespace TESK
