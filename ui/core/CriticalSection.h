// CriticalSection: a re-entrant lock (a Win32 critical section) owned by the object that
// declares it, released in its destructor. CriticalSectionLock holds one for a scope.
#pragma once

#include <windows.h>

namespace TESK {

class CriticalSection {
public:
  CriticalSection() { InitializeCriticalSection(&m_cs); }
  ~CriticalSection() { DeleteCriticalSection(&m_cs); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Enter() { EnterCriticalSection(&m_cs); }
  void Leave() { LeaveCriticalSection(&m_cs); }

private:
  CRITICAL_SECTION m_cs;
};

class CriticalSectionLock {
public:
  explicit CriticalSectionLock(CriticalSection& cs) : m_cs(cs) { m_cs.Enter(); }
  ~CriticalSectionLock() { m_cs.Leave(); }
  CriticalSectionLock(const CriticalSectionLock&) = delete;
  CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
  CriticalSection& m_cs;
};

}  // namespace TESK
