#include "device/HidReportLengths.h"

#include <windows.h>

#include <initializer_list>

#include "ui/core/ModuleProc.h"

namespace {

// hidapi modules that know their interfaces' report lengths export this.
using ReportLengthsFn = int (*)(const char* path, int* input, int* output);

// HIDP_CAPS as hid.dll fills it (the parts we read come first).
struct HidpCaps {
  USHORT usage;
  USHORT usagePage;
  USHORT inputReportByteLength;
  USHORT outputReportByteLength;
  USHORT featureReportByteLength;
  USHORT reserved[17];
  USHORT counts[10];
};
constexpr LONG kHidpStatusSuccess = 0x00110000;

using GetPreparsedDataFn = BOOLEAN(WINAPI*)(HANDLE, void**);
using FreePreparsedDataFn = BOOLEAN(WINAPI*)(void*);
using GetCapsFn = LONG(WINAPI*)(void*, HidpCaps*);

bool QueryHidClassDriver(const char* path, int* inputLength, int* outputLength) {
  static HMODULE hid = LoadLibraryW(L"hid.dll");
  auto getPreparsed = GetModuleProc<GetPreparsedDataFn>(hid, "HidD_GetPreparsedData");
  auto freePreparsed = GetModuleProc<FreePreparsedDataFn>(hid, "HidD_FreePreparsedData");
  auto getCaps = GetModuleProc<GetCapsFn>(hid, "HidP_GetCaps");
  if (!getPreparsed || !freePreparsed || !getCaps) return false;

  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  void* preparsed = nullptr;
  if (getPreparsed(file, &preparsed)) {
    HidpCaps caps = {};
    if (getCaps(preparsed, &caps) == kHidpStatusSuccess) {
      *inputLength = caps.inputReportByteLength;
      *outputLength = caps.outputReportByteLength;
      ok = true;
    }
    freePreparsed(preparsed);
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

bool QueryHidReportLengths(const char* path, int* inputLength, int* outputLength) {
  if (!path || !inputLength || !outputLength) return false;
  // A hidapi module of our own (linked in, or loaded as hidapi.dll) may answer for its paths.
  for (HMODULE module : {GetModuleHandleW(L"hidapi.dll"), GetModuleHandleW(nullptr)}) {
    if (auto ask = GetModuleProc<ReportLengthsFn>(module, "tavir_hid_get_report_lengths")) {
      return ask(path, inputLength, outputLength) == 0;
    }
  }
  return QueryHidClassDriver(path, inputLength, outputLength);
}
