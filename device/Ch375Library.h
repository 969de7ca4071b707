// CH375DLL.DLL, the library that drives the CH375 USB bootloader. It is not shipped with
// the program: it is loaded by name at run time, and when it is absent (or lacks one of the
// nine functions) every call below fails as "no device" and nothing else changes.
// One Ch375Library owns its module handle and frees it when destroyed. The functions
// themselves may be called from any thread; the library's arrival callback runs on a
// thread of the library's own.
#pragma once

#include <windows.h>

class Ch375Library {
 public:
  using NotifyRoutine = void(WINAPI*)(ULONG eventCode);

  // The library's functions as the program calls them. Handles are pointer-sized.
  using OpenDeviceFn = HANDLE(WINAPI*)(ULONG index);
  using CloseDeviceFn = void(WINAPI*)(ULONG index);
  using GetDeviceNameFn = void*(WINAPI*)(ULONG index);
  using GetUsbIdFn = ULONG(WINAPI*)(ULONG index);
  using SetExclusiveFn = BOOL(WINAPI*)(HANDLE device, ULONG exclusive);
  using SetTimeoutFn = BOOL(WINAPI*)(HANDLE device, ULONG writeTimeoutMs, ULONG readTimeoutMs);
  using TransferFn = BOOL(WINAPI*)(HANDLE device, void* buffer, ULONG* length);
  using SetDeviceNotifyFn = BOOL(WINAPI*)(ULONG index, const char* deviceId, NotifyRoutine routine);

  // The program's library: "CH375DLL.DLL", loaded on first use, kept until exit.
  static const Ch375Library& Instance();

  explicit Ch375Library(const wchar_t* dllName);
  ~Ch375Library();
  Ch375Library(const Ch375Library&) = delete;
  Ch375Library& operator=(const Ch375Library&) = delete;

  bool IsLoaded() const { return m_module != nullptr; }

  // INVALID_HANDLE_VALUE when there is no device at index.
  HANDLE OpenDevice(ULONG index) const;
  void CloseDevice(ULONG index) const;
  // The device's name, a NUL-terminated ANSI text that opens it with CreateFileA; null when none.
  const char* GetDeviceName(ULONG index) const;
  // Low 16 bits the vendor id, high 16 bits the product id; 0 when none.
  ULONG GetUsbId(ULONG index) const;
  BOOL SetExclusive(HANDLE device, ULONG exclusive) const;
  BOOL SetTimeout(HANDLE device, ULONG writeTimeoutMs, ULONG readTimeoutMs) const;
  // length is the number of bytes to move on entry and the number moved on return.
  BOOL WriteData(HANDLE device, void* buffer, ULONG* length) const;
  BOOL ReadData(HANDLE device, void* buffer, ULONG* length) const;
  BOOL SetDeviceNotify(ULONG index, const char* deviceId, NotifyRoutine routine) const;

 private:
  struct Functions {
    OpenDeviceFn openDevice = nullptr;
    CloseDeviceFn closeDevice = nullptr;
    GetDeviceNameFn getDeviceName = nullptr;
    GetUsbIdFn getUsbId = nullptr;
    SetExclusiveFn setExclusive = nullptr;
    SetTimeoutFn setTimeout = nullptr;
    TransferFn writeData = nullptr;
    TransferFn readData = nullptr;
    SetDeviceNotifyFn setDeviceNotify = nullptr;
  };

  HMODULE m_module = nullptr;
  Functions m_fn;  // all set while m_module is, all null otherwise
};
