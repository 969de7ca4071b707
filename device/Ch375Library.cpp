#include "device/Ch375Library.h"

#include "ui/core/ModuleProc.h"

const Ch375Library& Ch375Library::Instance() {
  static const Ch375Library library(L"CH375DLL.DLL");
  return library;
}

Ch375Library::Ch375Library(const wchar_t* dllName) {
  HMODULE module = LoadLibraryW(dllName);
  if (!module) return;
  Functions fn;
  fn.openDevice = GetModuleProc<OpenDeviceFn>(module, "CH375OpenDevice");
  fn.closeDevice = GetModuleProc<CloseDeviceFn>(module, "CH375CloseDevice");
  fn.getDeviceName = GetModuleProc<GetDeviceNameFn>(module, "CH375GetDeviceName");
  fn.getUsbId = GetModuleProc<GetUsbIdFn>(module, "CH375GetUsbID");
  fn.setExclusive = GetModuleProc<SetExclusiveFn>(module, "CH375SetExclusive");
  fn.setTimeout = GetModuleProc<SetTimeoutFn>(module, "CH375SetTimeout");
  fn.writeData = GetModuleProc<TransferFn>(module, "CH375WriteData");
  fn.readData = GetModuleProc<TransferFn>(module, "CH375ReadData");
  fn.setDeviceNotify = GetModuleProc<SetDeviceNotifyFn>(module, "CH375SetDeviceNotify");
  // A module without all nine is not the library we talk to: behave as without it.
  if (!fn.openDevice || !fn.closeDevice || !fn.getDeviceName || !fn.getUsbId || !fn.setExclusive || !fn.setTimeout ||
      !fn.writeData || !fn.readData || !fn.setDeviceNotify) {
    FreeLibrary(module);
    return;
  }
  m_module = module;
  m_fn = fn;
}

Ch375Library::~Ch375Library() {
  if (m_module) FreeLibrary(m_module);
}

HANDLE Ch375Library::OpenDevice(ULONG index) const {
  return m_fn.openDevice ? m_fn.openDevice(index) : INVALID_HANDLE_VALUE;
}

void Ch375Library::CloseDevice(ULONG index) const {
  if (m_fn.closeDevice) m_fn.closeDevice(index);
}

const char* Ch375Library::GetDeviceName(ULONG index) const {
  return m_fn.getDeviceName ? static_cast<const char*>(m_fn.getDeviceName(index)) : nullptr;
}

ULONG Ch375Library::GetUsbId(ULONG index) const { return m_fn.getUsbId ? m_fn.getUsbId(index) : 0; }

BOOL Ch375Library::SetExclusive(HANDLE device, ULONG exclusive) const {
  return m_fn.setExclusive ? m_fn.setExclusive(device, exclusive) : FALSE;
}

BOOL Ch375Library::SetTimeout(HANDLE device, ULONG writeTimeoutMs, ULONG readTimeoutMs) const {
  return m_fn.setTimeout ? m_fn.setTimeout(device, writeTimeoutMs, readTimeoutMs) : FALSE;
}

BOOL Ch375Library::WriteData(HANDLE device, void* buffer, ULONG* length) const {
  return m_fn.writeData ? m_fn.writeData(device, buffer, length) : FALSE;
}

BOOL Ch375Library::ReadData(HANDLE device, void* buffer, ULONG* length) const {
  return m_fn.readData ? m_fn.readData(device, buffer, length) : FALSE;
}

BOOL Ch375Library::SetDeviceNotify(ULONG index, const char* deviceId, NotifyRoutine routine) const {
  return m_fn.setDeviceNotify ? m_fn.setDeviceNotify(index, deviceId, routine) : FALSE;
}
