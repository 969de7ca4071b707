// A module apart from the test executable that makes, keeps and frees library strings,
// so tests can move strings across module boundaries in both directions.
#include "ui/core/CString.h"

namespace {
CString g_kept[64];
}

extern "C" {

__declspec(dllexport) CString* ProbeNewString(int i) {
  CString* s = new CString();
  s->Format(L"probe-%d-%s", i, L"\U0001F600");
  return s;
}

__declspec(dllexport) void ProbeDeleteString(CString* s) { delete s; }

__declspec(dllexport) void ProbeKeep(int slot, const CString* s) { g_kept[slot & 63] = *s; }

__declspec(dllexport) void ProbeAppendToKept(int slot) { g_kept[slot & 63] += L"+"; }

__declspec(dllexport) void ProbeDropAll() {
  for (CString& s : g_kept) s.Empty();
}

__declspec(dllexport) int ProbeKeptLength(int slot) { return g_kept[slot & 63].GetLength(); }
}
