// MTimer: periodic high-resolution ticks from the system's multimedia timer, independent
// of the window message queue. A base class: every window engine is one. Ticks arrive on
// the system's timer thread, so OnMTimer runs concurrently with the owner's thread.
// Each object guards its timer table with its own lock; the table is never locked while
// a tick handler runs or while a timer is being stopped, because stopping waits for the
// tick in flight (so a handler may take locks that the stopping thread holds only if that
// thread does not hold them while calling KillTimer).
// KillTimer returns only after the stopped timer's last tick has finished, so an object
// may be deleted right after it. A derived class whose handler uses its own members calls
// KillTimer() in its destructor: the base destructor runs after those members are gone.
// Derived classes overriding one OnMTimer add `using MTimer::OnMTimer;` to keep the other.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/CString.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MTimer {
public:
  MTimer();
  MTimer(const MTimer&) = delete;
  MTimer& operator=(const MTimer&) = delete;
  ~MTimer();

  // Called on each tick of a timer started with the application flag, after OnMTimer(id).
  virtual void OnMTimer(UINT id, CString name);
  // Called on every tick.
  virtual void OnMTimer(UINT id) = 0;

  // Starts a periodic timer of elapse milliseconds; returns its id, 0 when the system
  // refuses it (an entry with id 0 is kept all the same).
  int SetTimer(UINT elapse, CString name, int app);
  // Stop and remove the first entry with that id or that name (case-sensitive); both
  // return the number of entries left.
  int KillTimer(UINT id);
  int KillTimer(CString name);
  // Stops every timer of this object.
  void KillTimer();

  int GetTimerIsRun(UINT id);
  int GetTimerIsRun(CString name);
  CString GetTimerName(UINT id);
  int IsAppTimer(UINT id);

  // The live object that owns a timer with that id, or null.
  static MTimer* GetMTimer(UINT id);
  static void CALLBACK TimerCallProc(UINT id, UINT msg, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

  // The resolution chosen on first use, and 1 while the process's timer resolution is
  // raised: from the first running timer of the process until its last one stops.
  static UINT m_uAccuracy;
  static int m_bIsTmierOK;

private:
  struct TimerEntry {
    UINT id;
    CString name;
    int app;
  };
  // Removes the first entry matching, under the table lock; true when one was found.
  template <typename Match>
  bool TakeEntry(Match match, UINT& id, int& left);
  static void StopTimer(UINT id);
  // One running timer fewer; the last one gives the raised resolution back.
  static void ReleaseResolution();

  std::vector<TimerEntry> m_timers;
  CRITICAL_SECTION m_lock;
};

}  // namespace TESK
