// Probes for the library's control tree: an owner that records the notifications and
// repaint requests its controls send, a control that records what reaches its own
// handlers, counts its lives, and exposes the flags derived controls set, and a control
// whose ticks take a while and are counted from the timer thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "ui/core/MControl.h"
#include "ui/core/MObject.h"

namespace testsupport {

class RecordingOwner : public TESK::MObject {
public:
  struct Update {
    CRect rect;
    int redraw;
    TESK::MControl* control;
  };
  struct Message {
    UINT id;
    UINT code;
    WPARAM wParam;
    LPARAM lParam;
  };

  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, TESK::MControl* control) override;

  std::vector<Update> updates;
  std::vector<Message> messages;
  // When set, runs after each notification is recorded (the owner's handler of a test).
  std::function<void(const Message& message)> react;
  // When set, repaint requests are passed on to it after they are recorded.
  TESK::MObject* forwardUpdates = nullptr;
};

class ProbeControl : public TESK::MControl {
public:
  // One handler call: which handler ("move", "ldown", "lup", "ldbl", "rdown", "rup", "rdbl",
  // "scroll", "key", "timer", "focus") and its point (key: (key, modifiers); focus: (flag, 0)).
  struct Event {
    std::string what;
    CPoint pt;
  };

  ProbeControl(TESK::MObject* owner, UINT id, CRect rect, int visible = 1, int enabled = 1, int response = 1);
  ~ProbeControl() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  void InitControl(TESK::PaintManager* manager) override;
  int SetControlFocus(int focus) override;
  int OnMousePointChange(CPoint& pt) override;
  int OnControlTimer() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlLButtonDblClk(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  int OnControlRButtonDown(UINT keys, CPoint pt) override;
  int OnControlRButtonUp(UINT keys, CPoint pt) override;
  int OnControlRButtonDblClk(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;

  // Appends a child or an area the way a container does (under the list's lock).
  // The new probe shares this probe's engine and journal.
  ProbeControl* AddChild(UINT id, CRect rect);
  ProbeControl* AddArea(UINT id, CRect rect);
  // Appends a probe made by the caller as a child, the same way; returns it.
  template <typename Probe>
  Probe* Append(Probe* child) {
    AppendChild(child);
    return child;
  }

  void SetDblClk(int on) { m_bDblClk = on; }
  void SetFocusedFlag(int on) { m_bFocused = on; }
  void SetHotKey(UINT key, UINT modifiers) {
    m_hotKey = key;
    m_hotKeyModifiers = modifiers;
  }
  MControl* CurrentChild() const { return m_pCurrentChild; }
  HCURSOR Cursor() const { return m_hCursor; }
  HDC CacheDC() const { return m_hCacheDC; }

  // Events of one kind, in order.
  std::vector<CPoint> Points(const std::string& what) const;

  std::vector<Event> events;
  int handled = 1;          // what the OnControl... handlers answer
  CPoint mapOffset{0, 0};   // added to points by OnMousePointChange (a scrolled container)
  int initCount = 0;
  TESK::PaintManager* initManager = nullptr;
  // When set, every handler call and the destruction are also written here as
  // "<id> <what>" (focus calls as "<id> focus <flag>"), in order across probes.
  std::vector<std::string>* journal = nullptr;
  // When set, runs after each handler call is recorded, with the handler's name (see Event):
  // a test makes the handler remove controls, select, notify...
  std::function<void(const std::string& what)> react;
  // When set, receives the id of the thread that destroys the probe.
  DWORD* destroyedOn = nullptr;

  static int s_alive;      // probes constructed and not yet destroyed
  static int s_destroyed;  // probes destroyed since the last Reset
  static void ResetCounts() { s_destroyed = 0; }

private:
  int Record(const char* what, CPoint pt);
  ProbeControl* Adopt(ProbeControl* probe);
  void AppendChild(ProbeControl* child);
};

// A probe whose ticks spin a while (so a tick overlaps what the window's thread does) and
// are counted; it records nothing in its event list, so it is safe on the timer thread.
// It notices a tick that arrives after its destruction, and runs onTick (timer thread)
// after each tick when set.
class TickCounter : public ProbeControl {
public:
  using ProbeControl::ProbeControl;
  ~TickCounter() override;
  int OnControlTimer() override;

  std::function<void()> onTick;
  std::atomic<int> ticks{0};
  static std::atomic<int> s_ticks;
  static std::atomic<int> s_lateTicks;

private:
  static constexpr int kAlive = 0x5A5A5A5A;
  volatile int m_alive = kAlive;
};

}  // namespace testsupport
