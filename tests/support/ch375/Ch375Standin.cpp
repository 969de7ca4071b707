// Stand-in for CH375DLL.DLL: a table of simulated CH375 bootloaders behind the library's
// nine functions, for tests. Each present device has a USB id, a name and, unless a test
// gives another name, a file of its own in the temporary folder: the program opens that
// name with CreateFileA and the stand-in recognises the handle by the file's identity.
// The bootloader side checks every packet: erase first, then program chunks placed one
// after another (only the low 16 bits of the offset travel, so the stand-in keeps the full
// offset and checks the low bits against it), verify chunks compared with what was
// programmed, a status read after every packet but the end packet. Protocol faults of the
// caller are counted and described. One lock guards everything; calls come from any thread.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

#include "ch375/Ch375StandinApi.h"
#include "device/Ch375Library.h"

namespace {

constexpr ULONG kFlashSize = 1024 * 1024;
constexpr UCHAR kStatusOk[2] = {0x00, 0x00};
constexpr UCHAR kStatusRefused[2] = {0x01, 0x00};

struct Device {
  bool present = false;
  ULONG usbId = 0;
  std::string name;
  std::string ownFile;  // the file the stand-in made for it, deleted at reset
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;
  bool hasIdentity = false;

  bool erased = false;
  std::vector<UCHAR> flash;
  ULONG extent = 0;
  ULONG programOffset = 0;
  ULONG verifyOffset = 0;
  bool statusPending = false;
  UCHAR status[2] = {0, 0};
  bool statusReadFails = false;
};

struct Fault {
  UCHAR command = 0;
  ULONG chunk = 0;
  int kind = CH375_FAULT_NONE;
};

struct Standin {
  std::mutex lock;
  Device devices[kCh375StandinDevices];
  Fault fault;
  ULONG packetsByCommand[256] = {};
  std::vector<Ch375StandinWrite> writes;
  Ch375StandinCounters counters = {};
  std::string firstViolation;
  Ch375Library::NotifyRoutine notify = nullptr;
  // The handle of the last full look-up and its device: chunks and status reads of a
  // session reuse it, as asking the file system for every packet is slow under Wine.
  HANDLE cachedHandle = nullptr;
  int cachedDevice = -1;
};

Standin& State() {
  static Standin standin;
  return standin;
}

void Violation(Standin& s, const char* format, ...) {
  ++s.counters.violations;
  if (!s.firstViolation.empty()) return;
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  s.firstViolation = text;
}

// The device whose file the handle has open, or -1. A session (erase, chunks, end) runs on
// one handle, so only its first packet needs the full look-up.
int DeviceOfHandle(Standin& s, HANDLE handle, bool mayUseCache = false) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return -1;
  if (mayUseCache && handle == s.cachedHandle) return s.cachedDevice;
  s.cachedHandle = handle;
  s.cachedDevice = -1;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) return -1;
  for (ULONG i = 0; i < kCh375StandinDevices; ++i) {
    const Device& d = s.devices[i];
    if (d.present && d.hasIdentity && d.volume == info.dwVolumeSerialNumber && d.indexHigh == info.nFileIndexHigh &&
        d.indexLow == info.nFileIndexLow) {
      return s.cachedDevice = static_cast<int>(i);
    }
  }
  return -1;
}

bool MakeOwnFile(ULONG index, Device& d) {
  char folder[MAX_PATH];
  if (!GetTempPathA(MAX_PATH, folder)) return false;
  char path[MAX_PATH + 64];
  std::snprintf(path, sizeof path, "%sch375-standin-%lu-%lu.dev", folder, GetCurrentProcessId(), index);
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  if (!ok) return false;
  d.name = d.ownFile = path;
  d.volume = info.dwVolumeSerialNumber;
  d.indexHigh = info.nFileIndexHigh;
  d.indexLow = info.nFileIndexLow;
  d.hasIdentity = true;
  return true;
}

void SetStatus(Device& d, const UCHAR* status, bool readFails) {
  d.statusPending = true;
  d.status[0] = status[0];
  d.status[1] = status[1];
  d.statusReadFails = readFails;
}

// Applies a program or verify chunk at the device's running offset for that command.
bool ApplyChunk(Standin& s, Device& d, const UCHAR* packet, ULONG length, bool verify) {
  const UCHAR size = packet[1];
  ULONG& offset = verify ? d.verifyOffset : d.programOffset;
  const ULONG low = packet[2] | (packet[3] << 8);
  if (!d.erased) Violation(s, "chunk 0x%02X before an erase", packet[0]);
  if (size == 0 || size > 60 || length != 4u + size) {
    Violation(s, "chunk 0x%02X of length byte %u written as %lu bytes", packet[0], size, length);
    return false;
  }
  if (low != (offset & 0xFFFF)) {
    Violation(s, "chunk 0x%02X at offset bytes 0x%04lX where 0x%04lX was due", packet[0], low, offset & 0xFFFF);
    return false;
  }
  if (offset + size > kFlashSize) {
    Violation(s, "chunk 0x%02X beyond the flash", packet[0]);
    return false;
  }
  bool ok = true;
  if (verify) {
    ok = std::memcmp(d.flash.data() + offset, packet + 4, size) == 0 && offset + size <= d.extent;
  } else {
    std::memcpy(d.flash.data() + offset, packet + 4, size);
    if (offset + size > d.extent) d.extent = offset + size;
  }
  offset += size;
  return ok;
}

}  // namespace

extern "C" {

HANDLE WINAPI CH375OpenDevice(ULONG index) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (index >= kCh375StandinDevices || !s.devices[index].present) return INVALID_HANDLE_VALUE;
  ++s.counters.opens[index];
  // The program only tells this apart from INVALID_HANDLE_VALUE; it talks to the device
  // through the handle of its name.
  return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x1000 + index));
}

void WINAPI CH375CloseDevice(ULONG index) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (index < kCh375StandinDevices) ++s.counters.closes[index];
}

void* WINAPI CH375GetDeviceName(ULONG index) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (index >= kCh375StandinDevices || !s.devices[index].present) return nullptr;
  return const_cast<char*>(s.devices[index].name.c_str());
}

ULONG WINAPI CH375GetUsbID(ULONG index) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (index >= kCh375StandinDevices || !s.devices[index].present) return 0;
  return s.devices[index].usbId;
}

BOOL WINAPI CH375SetExclusive(HANDLE device, ULONG exclusive) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (DeviceOfHandle(s, device) < 0) return FALSE;
  if (exclusive == 1) ++s.counters.exclusiveCalls;
  return TRUE;
}

BOOL WINAPI CH375SetTimeout(HANDLE device, ULONG writeTimeoutMs, ULONG readTimeoutMs) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (DeviceOfHandle(s, device) < 0) return FALSE;
  if (writeTimeoutMs == 1000 && readTimeoutMs == 1000) ++s.counters.timeoutCalls;
  return TRUE;
}

BOOL WINAPI CH375WriteData(HANDLE device, void* buffer, ULONG* length) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (!buffer || !length) return FALSE;
  const UCHAR* packet = static_cast<const UCHAR*>(buffer);
  const bool chunk = *length >= 4 && (packet[0] == 0x80 || packet[0] == 0x82);
  const int index = DeviceOfHandle(s, device, chunk);
  if (index < 0) return FALSE;
  Device& d = s.devices[index];
  if (*length < 4 || *length > 64) {
    Violation(s, "write of %lu bytes", *length);
    return FALSE;
  }
  s.writes.push_back({static_cast<ULONG>(index), *length, packet[0], packet[1], packet[2], packet[3]});
  if (d.statusPending) Violation(s, "packet 0x%02X before the last status was read", packet[0]);
  d.statusPending = false;

  const ULONG number = s.packetsByCommand[packet[0]]++;
  const int fault = s.fault.kind != CH375_FAULT_NONE && s.fault.command == packet[0] && s.fault.chunk == number
                        ? s.fault.kind
                        : CH375_FAULT_NONE;
  if (fault == CH375_FAULT_WRITE_FAILS) return FALSE;

  bool ok = true;
  switch (packet[0]) {
    case 0x81:  // erase
      if (*length != 4 || packet[1] != 0x02 || packet[2] || packet[3]) Violation(s, "malformed erase packet");
      d.flash.assign(kFlashSize, 0xFF);
      d.extent = d.programOffset = d.verifyOffset = 0;
      d.erased = true;
      break;
    case 0x80:
      ok = ApplyChunk(s, d, packet, *length, false);
      break;
    case 0x82:
      ok = ApplyChunk(s, d, packet, *length, true);
      break;
    case 0x83:  // end: answered by no status
      if (*length != 4 || packet[1] != 0x02 || packet[2] || packet[3]) Violation(s, "malformed end packet");
      return TRUE;
    default:
      Violation(s, "unknown command 0x%02X", packet[0]);
      return FALSE;
  }
  SetStatus(d, ok && fault != CH375_FAULT_STATUS_REFUSED ? kStatusOk : kStatusRefused, fault == CH375_FAULT_READ_FAILS);
  return TRUE;
}

BOOL WINAPI CH375ReadData(HANDLE device, void* buffer, ULONG* length) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  const int index = DeviceOfHandle(s, device, true);
  if (index < 0 || !buffer || !length) return FALSE;
  Device& d = s.devices[index];
  ++s.counters.statusReads;
  if (!d.statusPending) {
    Violation(s, "status read with no packet to answer");
    return FALSE;
  }
  d.statusPending = false;
  if (*length != 2) Violation(s, "status read of %lu bytes", *length);
  if (d.statusReadFails || *length < 2) return FALSE;
  std::memcpy(buffer, d.status, 2);
  *length = 2;
  return TRUE;
}

BOOL WINAPI CH375SetDeviceNotify(ULONG index, const char* deviceId, Ch375Library::NotifyRoutine routine) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (index != 0 || deviceId) Violation(s, "notification for index %lu", index);
  s.notify = routine;
  return TRUE;
}

void Ch375Standin_Reset() {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  for (Device& d : s.devices) {
    if (!d.ownFile.empty()) DeleteFileA(d.ownFile.c_str());
    d = Device();
  }
  s.fault = Fault();
  std::memset(s.packetsByCommand, 0, sizeof s.packetsByCommand);
  s.writes.clear();
  s.counters = Ch375StandinCounters();
  s.firstViolation.clear();
  s.notify = nullptr;
  s.cachedHandle = nullptr;
  s.cachedDevice = -1;
}

BOOL Ch375Standin_AddDevice(ULONG index, ULONG usbId, const char* name) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (index >= kCh375StandinDevices) return FALSE;
  Device& d = s.devices[index];
  if (!d.ownFile.empty()) DeleteFileA(d.ownFile.c_str());
  d = Device();
  d.usbId = usbId;
  s.cachedHandle = nullptr;
  if (name) {
    d.name = name;
  } else if (!MakeOwnFile(index, d)) {
    return FALSE;
  }
  d.present = true;
  return TRUE;
}

void Ch375Standin_SetFault(UCHAR command, ULONG chunk, int fault) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  s.fault = {command, chunk, fault};
}

ULONG Ch375Standin_GetWrites(Ch375StandinWrite* out, ULONG capacity) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  for (ULONG i = 0; out && i < capacity && i < s.writes.size(); ++i) out[i] = s.writes[i];
  return static_cast<ULONG>(s.writes.size());
}

ULONG Ch375Standin_GetImage(ULONG index, UCHAR* out, ULONG capacity) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (index >= kCh375StandinDevices) return 0;
  const Device& d = s.devices[index];
  if (out) std::memcpy(out, d.flash.data(), d.extent < capacity ? d.extent : capacity);
  return d.extent;
}

void Ch375Standin_GetCounters(Ch375StandinCounters* out) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  *out = s.counters;
}

void Ch375Standin_GetFirstViolation(char* text, ULONG capacity) {
  Standin& s = State();
  std::lock_guard<std::mutex> lock(s.lock);
  if (capacity == 0) return;
  std::snprintf(text, capacity, "%s", s.firstViolation.c_str());
}

namespace {
struct NotifyCall {
  Ch375Library::NotifyRoutine routine;
  ULONG eventCode;
};
DWORD WINAPI RunNotify(void* param) {
  const NotifyCall* call = static_cast<const NotifyCall*>(param);
  call->routine(call->eventCode);
  delete call;
  return 0;
}
}  // namespace

DWORD Ch375Standin_FireNotify(ULONG eventCode) {
  Ch375Library::NotifyRoutine routine;
  {
    Standin& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    routine = s.notify;
  }
  if (!routine) return 0;
  // The thread owns the call record, so a callback that outlives the wait stays safe.
  NotifyCall* call = new NotifyCall{routine, eventCode};
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, RunNotify, call, 0, &threadId);
  if (!thread) {
    delete call;
    return 0;
  }
  const bool finished = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return finished ? threadId : 0;
}

}  // extern "C"

// The stand-in's functions have exactly the types the program calls them through.
static_assert(std::is_same_v<decltype(&CH375OpenDevice), Ch375Library::OpenDeviceFn>);
static_assert(std::is_same_v<decltype(&CH375CloseDevice), Ch375Library::CloseDeviceFn>);
static_assert(std::is_same_v<decltype(&CH375GetDeviceName), Ch375Library::GetDeviceNameFn>);
static_assert(std::is_same_v<decltype(&CH375GetUsbID), Ch375Library::GetUsbIdFn>);
static_assert(std::is_same_v<decltype(&CH375SetExclusive), Ch375Library::SetExclusiveFn>);
static_assert(std::is_same_v<decltype(&CH375SetTimeout), Ch375Library::SetTimeoutFn>);
static_assert(std::is_same_v<decltype(&CH375WriteData), Ch375Library::TransferFn>);
static_assert(std::is_same_v<decltype(&CH375ReadData), Ch375Library::TransferFn>);
static_assert(std::is_same_v<decltype(&CH375SetDeviceNotify), Ch375Library::SetDeviceNotifyFn>);
