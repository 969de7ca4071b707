// MacroRecorder: what the macro page makes of the low-level keyboard hook's events while it
// records a macro or captures one key for the event editor. It decodes hook events into
// macro events (the hook key rule, the page's fixed captions, modifiers as their usages,
// auto-repeat recognised by the keys held) and turns each recorded event into the row to
// append plus the delay of the row before it. The event list itself stays with the page,
// which applies each step; the clock is passed in, so tests set the time.
//
// Owned by the main window; UI thread only (hook events arrive there).
#pragma once

#include <windows.h>

#include <set>

#include "app/pages/MacroEvent.h"

// Delay modes of a macro (its delay_type).
constexpr int kDelayRecorded = 1;
constexpr int kDelayNone = 2;
constexpr int kDelayFixed = 3;

// Kinds of a stored macro event.
constexpr int kRecordKeyPress = 2;
constexpr int kRecordKeyRelease = 3;

// The longest delay a recording keeps between two events, in ms.
constexpr int kMaxRecordedDelay = 31000;

// What one recorded event changes in the event list.
struct RecordedStep {
  bool append = false;      // false: the event is not recorded (auto-repeat)
  int previousDelay = 0;    // not 0: the delay of the list's last row before the new one
  CString name;             // the new row: caption, kind and code, delay 0
  int kind = 0;
  int code = 0;
};

class MacroRecorder {
public:
  // Begins a recording: the delay mode and fixed delay it applies and how many rows the
  // event list may hold. No previous event, no key held.
  void Start(int delayMode, int fixedDelay, int budget);
  // Forgets the time of the last event (a recording ended).
  void Stop() { m_lastEventTime = 0; }
  // Forgets the keys held (the hook is installed afresh and saw no press yet).
  void ForgetHeldKeys() { m_heldKeys.clear(); }

  // The macro event of a hook event: false for anything that is no key press or release.
  // A press of a key already held is kind kEventRepeat; presses and releases update the
  // keys held.
  bool DecodeHookInput(WPARAM message, const KBDLLHOOKSTRUCT* event, MACRO_EVENT& out);

  // The step one decoded event makes while recording, at time nowMs.
  RecordedStep Record(const MACRO_EVENT& event, long long nowMs);
  // Whether an event list of this many rows is past the recording's budget.
  bool IsOverBudget(int rows) const { return rows > m_budget; }

  // The ms since the previous event (0 for the first; 31000 at most, also for a clock that
  // went back), remembering nowMs as the previous event's time.
  int TakeEventDelay(long long nowMs);
  // The system clock in ms.
  static long long NowMs();

  int DelayMode() const { return m_delayMode; }
  int FixedDelay() const { return m_fixedDelay; }
  int Budget() const { return m_budget; }

private:
  int m_delayMode = kDelayRecorded;
  int m_fixedDelay = 10;
  int m_budget = 0;
  long long m_lastEventTime = 0;
  std::set<int> m_heldKeys;
};
