#include "Ch375Standin.h"

#include <gtest/gtest.h>

#include "ui/core/ModuleProc.h"

namespace testsupport {

Ch375Standin::Ch375Standin() {
  m_module = LoadLibraryW(L"CH375DLL.DLL");
  m_reset = GetModuleProc<decltype(m_reset)>(m_module, "Ch375Standin_Reset");
  m_addDevice = GetModuleProc<decltype(m_addDevice)>(m_module, "Ch375Standin_AddDevice");
  m_setFault = GetModuleProc<decltype(m_setFault)>(m_module, "Ch375Standin_SetFault");
  m_getWrites = GetModuleProc<decltype(m_getWrites)>(m_module, "Ch375Standin_GetWrites");
  m_getImage = GetModuleProc<decltype(m_getImage)>(m_module, "Ch375Standin_GetImage");
  m_getCounters = GetModuleProc<decltype(m_getCounters)>(m_module, "Ch375Standin_GetCounters");
  m_getFirstViolation = GetModuleProc<decltype(m_getFirstViolation)>(m_module, "Ch375Standin_GetFirstViolation");
  m_fireNotify = GetModuleProc<decltype(m_fireNotify)>(m_module, "Ch375Standin_FireNotify");
  if (!m_reset || !m_addDevice || !m_setFault || !m_getWrites || !m_getImage || !m_getCounters ||
      !m_getFirstViolation || !m_fireNotify) {
    ADD_FAILURE() << "the stand-in CH375DLL.DLL is missing beside the test";
    if (m_module) FreeLibrary(m_module);
    m_module = nullptr;
    return;
  }
  m_reset();
}

Ch375Standin::~Ch375Standin() {
  if (!m_module) return;
  m_reset();
  FreeLibrary(m_module);
}

void Ch375Standin::AddDevice(ULONG index, ULONG usbId, const char* name) {
  if (!m_module) return;
  EXPECT_TRUE(m_addDevice(index, usbId, name)) << "device " << index;
}

void Ch375Standin::SetFault(uint8_t command, ULONG chunk, Ch375StandinFault fault) {
  if (m_module) m_setFault(command, chunk, fault);
}

std::vector<Ch375StandinWrite> Ch375Standin::Writes() const {
  if (!m_module) return {};
  std::vector<Ch375StandinWrite> writes(m_getWrites(nullptr, 0));
  writes.resize(m_getWrites(writes.data(), static_cast<ULONG>(writes.size())));
  return writes;
}

std::vector<uint8_t> Ch375Standin::Image(ULONG index) const {
  if (!m_module) return {};
  std::vector<uint8_t> image(m_getImage(index, nullptr, 0));
  m_getImage(index, image.data(), static_cast<ULONG>(image.size()));
  return image;
}

Ch375StandinCounters Ch375Standin::Counters() const {
  Ch375StandinCounters counters = {};
  if (m_module) m_getCounters(&counters);
  return counters;
}

std::string Ch375Standin::FirstViolation() const {
  char text[256] = "";
  if (m_module) m_getFirstViolation(text, sizeof text);
  return text;
}

DWORD Ch375Standin::FireNotify(ULONG eventCode) const { return m_module ? m_fireNotify(eventCode) : 0; }

}  // namespace testsupport
