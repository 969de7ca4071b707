#include "ui/core/TeskModule.h"

namespace {
HMODULE g_libraryModule = nullptr;
}  // namespace

namespace TESK {

HMODULE GetLibraryModule() { return g_libraryModule; }

}  // namespace TESK

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_libraryModule = module;
  return TRUE;
}
