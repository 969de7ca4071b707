// Makes the test program the library's instance (under which windows are created) for
// the life of the object, and restores the previous value afterwards, so that suites
// checking the library's start-up state see it untouched.
#pragma once

#include <windows.h>

#include "ui/core/Manager.h"

namespace testsupport {

class ProgramInstance {
public:
  ProgramInstance() : m_previous(TESK::Manager::GetInstance()) {
    TESK::Manager::SetInstance(GetModuleHandleW(nullptr));
  }
  ~ProgramInstance() { TESK::Manager::SetInstance(m_previous); }
  ProgramInstance(const ProgramInstance&) = delete;
  ProgramInstance& operator=(const ProgramInstance&) = delete;

private:
  HINSTANCE m_previous;
};

}  // namespace testsupport
