// TickGuard: holds a window engine's tick lock for a scope, so that state which the
// multimedia timer thread changes in a control's tick handler can be changed from the
// window's thread too. Nothing is locked for a control that has no engine yet. Take it
// before any list lock (the engine's lock order, PaintManager.h) and call nothing that
// repaints while holding it.
#pragma once

#include "ui/core/CriticalSection.h"
#include "ui/core/PaintManager.h"

namespace TESK {

class TickGuard {
public:
  explicit TickGuard(PaintManager* engine) : m_lock(engine ? &engine->GetTickLock() : nullptr) {
    if (m_lock) m_lock->Enter();
  }
  ~TickGuard() {
    if (m_lock) m_lock->Leave();
  }
  TickGuard(const TickGuard&) = delete;
  TickGuard& operator=(const TickGuard&) = delete;

private:
  CriticalSection* m_lock;
};

}  // namespace TESK
