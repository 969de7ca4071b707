#include "ui/core/HandlerScope.h"

#include <memory>
#include <utility>
#include <vector>

#include "ui/core/MControl.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

// Per thread: how many scopes are open, and the controls waiting for the outermost to close.
thread_local int t_depth = 0;
thread_local std::vector<MControl*>* t_waiting = nullptr;

}  // namespace

HandlerScope::HandlerScope() { ++t_depth; }

HandlerScope::~HandlerScope() {
  if (t_depth > 1 || !t_waiting) {
    --t_depth;
    return;
  }
  // The outermost scope: the depth stays up while the waiting controls go, so that what
  // their destructors dispose of joins the list and goes in the same loop.
  while (!t_waiting->empty()) {
    std::vector<MControl*> batch;
    batch.swap(*t_waiting);
    for (MControl* control : batch) Delete(control);
  }
  delete t_waiting;
  t_waiting = nullptr;
  --t_depth;
}

bool HandlerScope::IsOpen() { return t_depth > 0; }

void HandlerScope::Dispose(MControl* control) {
  if (!control) return;
  PaintManager* engine = control->GetManager();
  if (engine && !engine->IsWindowThread()) {
    // The posted call frees the control on the window's thread. It must not merely drop a
    // shared reference there: the posting thread may release its own copy last, and the
    // control would then be freed on the wrong thread. The holder frees it only when the call
    // never runs (the window went first, and its queued calls are dropped).
    struct Holder {
      MControl* control;
      ~Holder() {
        if (control) FreeHere(control);
      }
    };
    std::shared_ptr<Holder> holder(new Holder{control});
    engine->PostCallable([holder]() { FreeHere(std::exchange(holder->control, nullptr)); });
    return;
  }
  FreeHere(control);
}

void HandlerScope::FreeHere(MControl* control) {
  if (t_depth == 0) {
    Delete(control);
    return;
  }
  if (!t_waiting) t_waiting = new std::vector<MControl*>();
  t_waiting->push_back(control);
}

void HandlerScope::ReleaseOwnedBy(PaintManager* engine) {
  if (!t_waiting) return;
  for (MControl* control : *t_waiting) {
    if (control->GetManager() == engine) control->LeaveEngine();
  }
}

void HandlerScope::Delete(MControl* control) {
  PaintManager* engine = control->GetManager();
  if (!engine) {
    delete control;
    return;
  }
  CriticalSectionLock ticks(engine->GetTickLock());
  delete control;
}

}  // namespace TESK
