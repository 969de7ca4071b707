#include "ui/core/MTimer.h"

#include <mmsystem.h>

#include <algorithm>

namespace TESK {

UINT MTimer::m_uAccuracy = 0;
int MTimer::m_bIsTmierOK = 0;

namespace {

// Process-wide state: the registry of live objects and the number of running timers,
// which decides when the raised timer resolution is given back.
struct TimerProcessState {
  CRITICAL_SECTION lock;
  std::vector<MTimer*> registry;
  int running = 0;
  TimerProcessState() { InitializeCriticalSection(&lock); }
  ~TimerProcessState() { DeleteCriticalSection(&lock); }
};

TimerProcessState& ProcessState() {
  static TimerProcessState state;
  return state;
}

class Lock {
public:
  explicit Lock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
  ~Lock() { LeaveCriticalSection(&m_cs); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

private:
  CRITICAL_SECTION& m_cs;
};

}  // namespace

MTimer::MTimer() {
  InitializeCriticalSection(&m_lock);
  TimerProcessState& state = ProcessState();
  Lock lock(state.lock);
  state.registry.push_back(this);
}

MTimer::~MTimer() {
  KillTimer();
  TimerProcessState& state = ProcessState();
  {
    Lock lock(state.lock);
    state.registry.erase(std::remove(state.registry.begin(), state.registry.end(), this), state.registry.end());
  }
  DeleteCriticalSection(&m_lock);
}

void MTimer::OnMTimer(UINT, CString) {}

int MTimer::SetTimer(UINT elapse, CString name, int app) {
  TimerProcessState& state = ProcessState();
  {
    // The timer is counted before it starts, so that a timer stopping meanwhile on
    // another thread cannot give the resolution back under it.
    Lock lock(state.lock);
    TIMECAPS caps;
    if (!m_bIsTmierOK && timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR) {
      m_uAccuracy = std::min(std::max(caps.wPeriodMin, 1u), caps.wPeriodMax);
      timeBeginPeriod(m_uAccuracy);
      m_bIsTmierOK = 1;
    }
    ++state.running;
  }
  // TIME_KILL_SYNCHRONOUS makes timeKillEvent wait for a tick in flight.
  const UINT id = timeSetEvent(elapse, m_uAccuracy, TimerCallProc, reinterpret_cast<DWORD_PTR>(this),
                               TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  if (id == 0) ReleaseResolution();
  Lock lock(m_lock);
  m_timers.push_back(TimerEntry{id, name, app});
  return static_cast<int>(id);
}

void MTimer::ReleaseResolution() {
  TimerProcessState& state = ProcessState();
  Lock lock(state.lock);
  if (--state.running == 0 && m_bIsTmierOK) {
    timeEndPeriod(m_uAccuracy);
    m_bIsTmierOK = 0;
  }
}

template <typename Match>
bool MTimer::TakeEntry(Match match, UINT& id, int& left) {
  Lock lock(m_lock);
  const auto it = std::find_if(m_timers.begin(), m_timers.end(), match);
  const bool found = it != m_timers.end();
  if (found) {
    id = it->id;
    m_timers.erase(it);
  }
  left = static_cast<int>(m_timers.size());
  return found;
}

void MTimer::StopTimer(UINT id) {
  if (id == 0) return;
  timeKillEvent(id);
  ReleaseResolution();
}

int MTimer::KillTimer(UINT id) {
  UINT taken = 0;
  int left = 0;
  if (TakeEntry([id](const TimerEntry& e) { return e.id == id; }, taken, left)) StopTimer(taken);
  return left;
}

int MTimer::KillTimer(CString name) {
  UINT taken = 0;
  int left = 0;
  if (TakeEntry([&name](const TimerEntry& e) { return e.name.Compare(name) == 0; }, taken, left)) {
    StopTimer(taken);
  }
  return left;
}

void MTimer::KillTimer() {
  std::vector<TimerEntry> all;
  {
    Lock lock(m_lock);
    all.swap(m_timers);
  }
  for (const TimerEntry& e : all) StopTimer(e.id);
}

int MTimer::GetTimerIsRun(UINT id) {
  Lock lock(m_lock);
  return std::any_of(m_timers.begin(), m_timers.end(), [id](const TimerEntry& e) { return e.id == id; }) ? 1 : 0;
}

int MTimer::GetTimerIsRun(CString name) {
  Lock lock(m_lock);
  return std::any_of(m_timers.begin(), m_timers.end(),
                     [&name](const TimerEntry& e) { return e.name.Compare(name) == 0; })
             ? 1
             : 0;
}

CString MTimer::GetTimerName(UINT id) {
  Lock lock(m_lock);
  for (const TimerEntry& e : m_timers) {
    if (e.id == id) return e.name;
  }
  return CString();
}

int MTimer::IsAppTimer(UINT id) {
  Lock lock(m_lock);
  for (const TimerEntry& e : m_timers) {
    if (e.id == id) return e.app;
  }
  return 0;
}

MTimer* MTimer::GetMTimer(UINT id) {
  TimerProcessState& state = ProcessState();
  Lock lock(state.lock);
  for (MTimer* timer : state.registry) {
    if (timer->GetTimerIsRun(id)) return timer;
  }
  return nullptr;
}

void CALLBACK MTimer::TimerCallProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* timer = reinterpret_cast<MTimer*>(user);
  if (!timer) return;
  timer->OnMTimer(id);
  if (timer->IsAppTimer(id)) timer->OnMTimer(id, timer->GetTimerName(id));
}

}  // namespace TESK
