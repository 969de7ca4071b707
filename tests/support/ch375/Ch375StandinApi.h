// Control interface of the stand-in CH375DLL.DLL, shared by the stand-in and the tests'
// Ch375Standin wrapper. Besides the nine library functions the stand-in exports these
// plain C functions, which tests resolve from the same module the program loads by name.
#pragma once

#include <windows.h>

extern "C" {

constexpr ULONG kCh375StandinDevices = 16;

// What a fault does to the packet it is set for.
enum Ch375StandinFault {
  CH375_FAULT_NONE = 0,
  CH375_FAULT_WRITE_FAILS = 1,     // CH375WriteData fails; nothing is applied
  CH375_FAULT_STATUS_REFUSED = 2,  // the status after the packet is 0x01 0x00
  CH375_FAULT_READ_FAILS = 3,      // the status read after the packet fails
};

// One CH375WriteData call as the stand-in received it.
struct Ch375StandinWrite {
  ULONG deviceIndex;  // the device the handle belongs to
  ULONG length;       // bytes written
  UCHAR command;
  UCHAR lengthByte;
  UCHAR offsetLow;
  UCHAR offsetHigh;
};

struct Ch375StandinCounters {
  ULONG opens[kCh375StandinDevices];   // CH375OpenDevice calls that found the device
  ULONG closes[kCh375StandinDevices];  // CH375CloseDevice calls
  ULONG exclusiveCalls;                // CH375SetExclusive (handle of a device, 1)
  ULONG timeoutCalls;                  // CH375SetTimeout (handle of a device, 1000, 1000)
  ULONG statusReads;
  ULONG violations;  // protocol faults of the caller
};

// Removes every device (and its file), fault, record and callback.
void Ch375Standin_Reset();
// Makes a device present at index with this USB id. A null name gives the device a file
// of its own whose path opens it with CreateFileA; any other name is reported as it is.
BOOL Ch375Standin_AddDevice(ULONG index, ULONG usbId, const char* name);
// The chunk-th packet (from 0, counted per command since the reset) of command gets fault.
void Ch375Standin_SetFault(UCHAR command, ULONG chunk, int fault);
// Copies up to capacity write records; returns how many there are.
ULONG Ch375Standin_GetWrites(Ch375StandinWrite* out, ULONG capacity);
// Copies the image programmed into device index (from offset 0 to the end of the last
// chunk); returns its length.
ULONG Ch375Standin_GetImage(ULONG index, UCHAR* out, ULONG capacity);
void Ch375Standin_GetCounters(Ch375StandinCounters* out);
// Copies the description of the first protocol fault seen (empty when none).
void Ch375Standin_GetFirstViolation(char* text, ULONG capacity);
// Runs the registered arrival callback with eventCode on a new thread and waits for it
// (at most 10 s); returns that thread's id, 0 when no callback is registered.
DWORD Ch375Standin_FireNotify(ULONG eventCode);

}  // extern "C"
