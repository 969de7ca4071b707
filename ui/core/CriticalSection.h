// CriticalSection: a re-entrant lock (a Win32 critical section) owned by the object that
// declares it, released in its destructor. CriticalSectionLock holds one for a scope.
// CopyUnderLock takes a copy of a list under its lock: a loop that calls out (into
// handlers that may change the list or wait for another lock) walks the copy instead.
#pragma once

#include <windows.h>

#include <vector>

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

template <typename T>
std::vector<T> CopyUnderLock(const std::vector<T>& list, CriticalSection& lock) {
  CriticalSectionLock hold(lock);
  return list;
}

}  // namespace TESK
