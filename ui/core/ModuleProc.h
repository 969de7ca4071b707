// Typed look-up of a function exported by a module loaded at run time.
#pragma once

#include <windows.h>

// Returns the export as a function pointer of type F, or null. The cast goes through
// void(*)(), the one conversion GCC accepts between unrelated function types.
template <typename F>
F GetModuleProc(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
