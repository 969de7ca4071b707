// Test-side control of the stand-in CH375DLL.DLL. The program loads the library by name;
// this wrapper loads the same module (so both see one stand-in), resets it on construction
// and destruction, and reads back what the program did. One per test; not thread-safe
// itself, while the stand-in behind it is.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ch375/Ch375StandinApi.h"

namespace testsupport {

class Ch375Standin {
 public:
  Ch375Standin();
  ~Ch375Standin();
  Ch375Standin(const Ch375Standin&) = delete;
  Ch375Standin& operator=(const Ch375Standin&) = delete;

  bool IsLoaded() const { return m_module != nullptr; }

  // A bootloader at index; a null name gives it a name that opens it.
  void AddDevice(ULONG index, ULONG usbId, const char* name = nullptr);
  void SetFault(uint8_t command, ULONG chunk, Ch375StandinFault fault);
  std::vector<Ch375StandinWrite> Writes() const;
  std::vector<uint8_t> Image(ULONG index) const;
  Ch375StandinCounters Counters() const;
  std::string FirstViolation() const;
  // Runs the registered arrival callback on a new thread; returns that thread's id.
  DWORD FireNotify(ULONG eventCode) const;

 private:
  HMODULE m_module = nullptr;
  decltype(&Ch375Standin_Reset) m_reset = nullptr;
  decltype(&Ch375Standin_AddDevice) m_addDevice = nullptr;
  decltype(&Ch375Standin_SetFault) m_setFault = nullptr;
  decltype(&Ch375Standin_GetWrites) m_getWrites = nullptr;
  decltype(&Ch375Standin_GetImage) m_getImage = nullptr;
  decltype(&Ch375Standin_GetCounters) m_getCounters = nullptr;
  decltype(&Ch375Standin_GetFirstViolation) m_getFirstViolation = nullptr;
  decltype(&Ch375Standin_FireNotify) m_fireNotify = nullptr;
};

}  // namespace testsupport
