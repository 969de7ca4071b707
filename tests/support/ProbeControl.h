// Probes for the library's control tree: an owner that records the notifications and
// repaint requests its controls send, and a control that records what reaches its own
// handlers, counts its lives, and exposes the flags derived controls set.
#pragma once

#include <windows.h>

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

  static int s_alive;      // probes constructed and not yet destroyed
  static int s_destroyed;  // probes destroyed since the last Reset
  static void ResetCounts() { s_destroyed = 0; }

private:
  int Record(const char* what, CPoint pt);
  ProbeControl* Adopt(ProbeControl* probe);
};

}  // namespace testsupport
