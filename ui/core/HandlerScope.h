// HandlerScope: marks the current thread as running library handlers, so that a control
// removed or deleted from inside a handler stays valid until every handler on the stack
// has returned. The window engine opens one around each window message and each tick,
// and MControl's dispatchers open one around each event, so no control and no owner has
// to be careful by hand: a handler may remove itself, a sibling or its container, and the
// code that called it may go on using the pointers it holds.
//
// Dispose is the only way a control that has left its container (MControl::Detach) is
// freed. With no scope open on this thread it is deleted at once; inside a scope it is
// deleted when the thread's outermost scope closes. A control of a window that exists,
// disposed of on any thread other than that window's (a tick handler), is handed to the
// window's thread with PaintManager::PostCallable, and freed there. Each deletion holds
// the engine's tick lock, so no tick runs into a control that is going away.
//
// The waiting controls are the thread's own (thread-local). An engine that goes while
// controls of its own still wait (its window object was deleted from inside a handler)
// lets go of them (ReleaseOwnedBy): they leave the engine and are freed without it when
// the outermost scope closes. The window object itself must not be deleted while one of
// its handlers is on the stack: post its deletion to another window's engine instead.
#pragma once

#include "ui/core/TeskApi.h"

namespace TESK {

class MControl;
class PaintManager;

class TESK_API HandlerScope {
public:
  HandlerScope();
  ~HandlerScope();
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

  // Frees a detached control as described above.
  static void Dispose(MControl* control);
  // Unbinds the controls of engine that wait on this thread from it (the engine is going).
  static void ReleaseOwnedBy(PaintManager* engine);
  // True while a scope is open on this thread.
  static bool IsOpen();

private:
  // Deletes control now (under its engine's tick lock) or queues it on this thread.
  static void FreeHere(MControl* control);
  static void Delete(MControl* control);
};

}  // namespace TESK
