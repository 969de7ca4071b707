// PaintManager: work that crosses threads. Multimedia ticks for the window's controls (on
// the timer thread), and calls posted from any thread to run on the window's thread.
#include <algorithm>

#include "ui/core/HandlerScope.h"
#include "ui/core/MControl.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

// How many ticks this thread is running (nested only when one engine's tick reaches another).
thread_local int t_ticking = 0;

class TickingMark {
public:
  TickingMark() { ++t_ticking; }
  ~TickingMark() { --t_ticking; }
  TickingMark(const TickingMark&) = delete;
  TickingMark& operator=(const TickingMark&) = delete;
};

}  // namespace

// ---- Multimedia ticks ----

void PaintManager::SetMTimer(UINT elapse) { m_mTimerId = static_cast<UINT>(SetTimer(elapse, CString(), 0)); }

void PaintManager::KillMTimer(UINT id) { KillTimer(id); }

void PaintManager::KillMTimer() { KillTimer(); }

int PaintManager::AddMTimer(MControl* control) {
  if (!control || control->IsRemoved()) return 0;
  CriticalSectionLock lock(m_tickLock);
  m_tickControls.push_back(control);
  return 1;
}

int PaintManager::DeleteFSTimer(MControl* control) {
  CriticalSectionLock lock(m_tickLock);
  auto it = std::find(m_tickControls.begin(), m_tickControls.end(), control);
  if (it == m_tickControls.end()) return 0;
  m_tickControls.erase(it);
  ++m_tickListChanges;
  return 1;
}

void PaintManager::OnMTimer(UINT id) {
  if (id != m_mTimerId) return;
  CriticalSectionLock lock(m_tickLock);
  TickingMark ticking;
  // Inside the lock: whatever a tick handler frees on this thread goes before the lock is released.
  HandlerScope scope;
  const std::vector<MControl*> controls = m_tickControls;
  const unsigned changes = m_tickListChanges;
  for (MControl* control : controls) {
    // A handler may unregister or remove controls of the list: those no longer listed are
    // skipped. Controls registered during the tick start with the next one.
    if (m_tickListChanges != changes &&
        std::find(m_tickControls.begin(), m_tickControls.end(), control) == m_tickControls.end()) {
      continue;
    }
    if (control && !control->IsRemoved() && control->IsRunTimer() && control->IsVisible() &&
        control->IsParentVisible()) {
      control->OnTimer();
    }
  }
}

bool PaintManager::IsTickThread() { return t_ticking > 0; }

// ---- Calls posted to the window's thread ----

UINT PaintManager::RunPostedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TESK.PaintManager.RunPosted");
  return message;
}

bool PaintManager::IsWindowThread() const { return !HasWindow() || m_windowThreadId == GetCurrentThreadId(); }

bool PaintManager::PostCallable(std::function<void()> call) {
  if (!call) return false;
  std::function<void()> refused;  // destroyed after the lock is released: it may own controls
  {
    CriticalSectionLock lock(m_postedLock);
    if (m_bPostOpen && HasWindow()) {
      m_posted.push_back(std::move(call));
      // One wake-up message stands for the whole queue, so the window's message queue never
      // fills up however many calls are waiting.
      if (m_bPostWake || ::PostMessageW(m_hWnd, RunPostedMessage(), 0, 0)) {
        m_bPostWake = true;
        return true;
      }
      refused = std::move(m_posted.back());
      m_posted.pop_back();
    }
  }
  return false;
}

void PaintManager::RunPosted() {
  // Only the calls queued now: a call that posts again runs on the next wake-up, so the
  // window's other messages are never starved.
  size_t budget;
  {
    CriticalSectionLock lock(m_postedLock);
    budget = m_posted.size();
  }
  for (; budget > 0; --budget) {
    std::function<void()> call;
    {
      CriticalSectionLock lock(m_postedLock);
      // A call may have destroyed the window: what is left is dropped with the queue.
      if (!m_bPostOpen || m_posted.empty()) break;
      call = std::move(m_posted.front());
      m_posted.pop_front();
    }
    call();
  }
  CriticalSectionLock lock(m_postedLock);
  m_bPostWake = false;
  if (m_bPostOpen && !m_posted.empty() && HasWindow() && ::PostMessageW(m_hWnd, RunPostedMessage(), 0, 0)) {
    m_bPostWake = true;
  }
}

void PaintManager::DropPosted() {
  std::deque<std::function<void()>> dropped;
  {
    CriticalSectionLock lock(m_postedLock);
    m_bPostOpen = false;
    m_bPostWake = false;
    dropped.swap(m_posted);
  }
  // Destroyed here, outside the lock: a dropped call may own a removed control.
}

}  // namespace TESK
