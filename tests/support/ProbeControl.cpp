#include "ProbeControl.h"

namespace testsupport {

LRESULT RecordingOwner::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  messages.push_back({id, code, wParam, lParam});
  if (react) {
    const Message message = messages.back();  // react may record more
    react(message);
  }
  return 1;
}

LRESULT RecordingOwner::OnControlUpdate(CRect rect, int redraw, TESK::MControl* control) {
  updates.push_back({rect, redraw, control});
  return forwardUpdates ? forwardUpdates->OnControlUpdate(rect, redraw, control) : 0;
}

int ProbeControl::s_alive = 0;
int ProbeControl::s_destroyed = 0;

ProbeControl::ProbeControl(TESK::MObject* owner, UINT id, CRect rect, int visible, int enabled, int response)
    : MControl(owner, id, rect, visible, enabled, response) {
  ++s_alive;
}

ProbeControl::~ProbeControl() {
  --s_alive;
  ++s_destroyed;
  if (journal) journal->push_back(std::to_string(m_id) + " destroyed");
  if (destroyedOn) *destroyedOn = GetCurrentThreadId();
}

void ProbeControl::DrawControl(HDC&, CRect) {}

void ProbeControl::InitControl(TESK::PaintManager* manager) {
  ++initCount;
  initManager = manager;
}

int ProbeControl::Record(const char* what, CPoint pt) {
  events.push_back({what, pt});
  if (journal) {
    std::string entry = std::to_string(m_id) + " " + what;
    if (events.back().what == "focus") entry += " " + std::to_string(pt.x);
    journal->push_back(entry);
  }
  const int answer = handled;  // react may remove this probe: it is not read afterwards
  if (react) {
    const auto hook = react;  // a copy: the probe's own may go with the probe
    hook(what);
  }
  return answer;
}

int ProbeControl::SetControlFocus(int focus) {
  m_bFocused = focus;
  Record("focus", CPoint(focus, 0));
  return MControl::SetControlFocus(focus);
}

int ProbeControl::OnMousePointChange(CPoint& pt) {
  if (mapOffset == CPoint(0, 0)) return 0;
  pt += mapOffset;
  return 1;
}

int ProbeControl::OnControlTimer() { return Record("timer", CPoint()); }
int ProbeControl::OnControlMouseMove(UINT, CPoint pt) { return Record("move", pt); }
int ProbeControl::OnControlLButtonDown(UINT, CPoint pt) { return Record("ldown", pt); }
int ProbeControl::OnControlLButtonUp(UINT, CPoint pt) { return Record("lup", pt); }
int ProbeControl::OnControlLButtonDblClk(UINT, CPoint pt) { return Record("ldbl", pt); }
int ProbeControl::OnControlScroll(int, UINT, CPoint pt) { return Record("scroll", pt); }
int ProbeControl::OnControlRButtonDown(UINT, CPoint pt) { return Record("rdown", pt); }
int ProbeControl::OnControlRButtonUp(UINT, CPoint pt) { return Record("rup", pt); }
int ProbeControl::OnControlRButtonDblClk(UINT, CPoint pt) { return Record("rdbl", pt); }

int ProbeControl::OnControlKeyDown(UINT key, UINT count, UINT modifiers) {
  const int own = MControl::OnControlKeyDown(key, count, modifiers);
  return Record("key", CPoint(static_cast<int>(key), static_cast<int>(modifiers))) || own;
}

ProbeControl* ProbeControl::Adopt(ProbeControl* probe) {
  probe->journal = journal;
  if (m_pManager) probe->SetManager(m_pManager);
  return probe;
}

ProbeControl* ProbeControl::AddChild(UINT id, CRect rect) { return Append(new ProbeControl(this, id, rect)); }

void ProbeControl::AppendChild(ProbeControl* child) {
  Adopt(child);
  TESK::CriticalSectionLock lock(m_childLock);
  m_children.push_back(child);
}

ProbeControl* ProbeControl::AddArea(UINT id, CRect rect) {
  ProbeControl* area = Adopt(new ProbeControl(this, id, rect));
  TESK::CriticalSectionLock lock(m_areaLock);
  m_areas.push_back(area);
  return area;
}

std::vector<CPoint> ProbeControl::Points(const std::string& what) const {
  std::vector<CPoint> points;
  for (const Event& e : events) {
    if (e.what == what) points.push_back(e.pt);
  }
  return points;
}

std::atomic<int> TickCounter::s_ticks{0};
std::atomic<int> TickCounter::s_lateTicks{0};

TickCounter::~TickCounter() { m_alive = 0; }

int TickCounter::OnControlTimer() {
  // A tick takes a while, so a deletion racing it would be seen by the second look.
  for (int look = 0; look < 2; ++look) {
    if (m_alive != kAlive) ++s_lateTicks;
    for (volatile int spin = 0; spin < 20000; spin = spin + 1) {
    }
  }
  ++ticks;
  ++s_ticks;
  if (onTick) onTick();
  return 1;
}

}  // namespace testsupport
