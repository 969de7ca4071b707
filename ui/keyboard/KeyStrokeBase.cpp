#include "ui/keyboard/KeyStrokeBase.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/SwitchTravel.h"

namespace TESK {

namespace {

constexpr int kInitialActuation = 20;
constexpr int kInitialLimit = 200;
constexpr int kInitialUpperBound = 10;
constexpr int kShallowest = 5;
// Bottom rapid trigger needs this many steps between the actuation and the upper bound.
constexpr int kBottomRtGap = 10;
// A drag step shorter than this (pixels along the axis) is a tremor, not a move.
constexpr int kDragStep = 2;

int ToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

KeyStrokeBase::KeyStrokeBase(MObject* owner, UINT id, CRect rect, int visible, int enabled, Axis axis)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_axis(axis),
      m_switchType(0),
      m_actuation(kInitialActuation),
      m_limit(kInitialLimit),
      m_scale(1.0),
      m_liveTravel(0),
      m_topDeadzone(0),
      m_upperBound(kInitialUpperBound),
      m_showDeadzone(1),
      m_showRelStroke(1),
      m_bottomRtMode(1),
      m_devType(0),
      m_dragging(false),
      m_liveRepaintPending(false) {
  // The settling runs on the window's ticks once the program registers the picture for them.
  m_bRunTimer = 1;
}

KeyStrokeBase::~KeyStrokeBase() = default;

// ---- The program's setters ----

void KeyStrokeBase::SetTravel(int switchType, int limit, double span) {
  // The scale divides by the limit.
  if (limit < 1) return;
  m_switchType = switchType;
  m_limit = limit;
  m_upperBound = limit;
  m_scale = span / limit;
  if (m_actuation > limit) m_actuation = limit;
  RepaintIfVisible();
}

int KeyStrokeBase::TableLimit() const {
  const int travel = SwitchTravel(m_switchType);
  return travel < 0 ? -1 : travel / 2;
}

void KeyStrokeBase::SetDeadzoneValue(int top, int bottom) {
  const int deepest = TableLimit();
  if (m_showDeadzone) {
    if (deepest >= 0) m_upperBound = ToInt(static_cast<long long>(deepest) - bottom);
    m_topDeadzone = top;
  } else {
    if (deepest >= 0) m_upperBound = deepest;
    m_topDeadzone = 0;
  }
  if (m_actuation > m_upperBound) {
    m_actuation = m_upperBound;
  } else if (m_actuation < m_topDeadzone) {
    m_actuation = m_topDeadzone;
  }
  RepaintIfVisible();
}

void KeyStrokeBase::SetCurKeyActuation(int actuation) {
  if (actuation == m_actuation) return;
  m_actuation = actuation;
  RepaintIfVisible();
}

void KeyStrokeBase::ShowDeadZone(int show) {
  if (show == m_showDeadzone) return;
  m_showDeadzone = show;
  RepaintIfVisible();
}

void KeyStrokeBase::ShowRelkeystroke(int show) {
  if (show == m_showRelStroke) return;
  m_showRelStroke = show;
  RepaintIfVisible();
}

void KeyStrokeBase::SetBottomrapidtriggerMode(int mode) {
  m_bottomRtMode = mode;
  const long long deepest = static_cast<long long>(m_upperBound) - kBottomRtGap;
  if (!mode || m_actuation <= deepest) return;
  m_actuation = ToInt(deepest);
  RepaintIfVisible();
}

void KeyStrokeBase::SetKeyActuation(int travel) {
  if (m_liveTravel.exchange(travel) == travel || m_liveRepaintPending.exchange(true)) return;
  RepaintIfVisibleFromAnyThread();
}

void KeyStrokeBase::SetImage(CString keyImage, CString secondImage) {
  m_keyPicture.Load(keyImage);
  m_secondPicture.Load(secondImage);
  RepaintIfVisible();
}

void KeyStrokeBase::SetThumbImage(CString name) { m_thumbPicture.Load(name); }


// ---- The actuation rule and the axis ----

int KeyStrokeBase::Constrain(long long actuation) const {
  if (actuation < m_topDeadzone) actuation = m_topDeadzone;
  if (actuation > m_upperBound) actuation = m_upperBound;
  if (actuation < kShallowest) actuation = kShallowest;
  if (m_bottomRtMode) actuation = std::min<long long>(actuation, static_cast<long long>(m_upperBound) - kBottomRtGap);
  return ToInt(actuation);
}

int KeyStrokeBase::ActuationAt(CPoint pt) const {
  const int offset = m_axis == Axis::Vertical ? pt.y - m_pressArea.top : pt.x - m_pressArea.left;
  // Bounded before the conversion: a huge travel makes the scale tiny.
  return static_cast<int>(std::clamp(offset / m_scale + 1.0, -1e9, 1e9));
}

int KeyStrokeBase::SpanPixels() const { return static_cast<int>(std::lround(std::min(m_limit * m_scale, 1e6))); }

// ---- Drawing ----

void KeyStrokeBase::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int w, int h) {
    // Live travel set from here on is not in this picture and asks for a repaint of its own.
    m_liveRepaintPending = false;
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    RenderTravel(g, w, h);
  });
}

// ---- Input ----

int KeyStrokeBase::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  if (!m_pressArea.PtInRect(pt)) return 1;
  m_actuation = Constrain(ActuationAt(pt));
  m_dragging = true;
  m_lastPoint = pt;
  RepaintIfVisible();
  return 1;
}

int KeyStrokeBase::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || !m_dragging || !m_rect.PtInRect(pt)) return 0;
  const int moved = m_axis == Axis::Vertical ? pt.y - m_lastPoint.y : pt.x - m_lastPoint.x;
  if (std::abs(moved) < kDragStep) return 0;
  m_actuation = Constrain(ActuationAt(pt));
  m_lastPoint = pt;
  RepaintIfVisible();
  SendMessageW(NOTIFY_CHANGING, 0, m_actuation);
  return 0;
}

int KeyStrokeBase::OnControlLButtonUp(UINT, CPoint) {
  if (!m_bEnabled) return 0;
  m_dragging = false;
  SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

int KeyStrokeBase::OnControlScroll(int, UINT direction, CPoint) {
  long long actuation = m_actuation;
  if (direction == 1) {
    if (actuation < m_upperBound) ++actuation;  // a notch towards the user goes deeper
  } else if (actuation > m_topDeadzone) {
    --actuation;
  }
  m_actuation = Constrain(actuation);
  m_settle.Notch();
  RepaintIfVisible();
  SendMessageW(NOTIFY_CHANGING, 0, m_actuation);
  return 1;
}

int KeyStrokeBase::OnControlTimer() {
  if (!m_bVisible) return 0;
  return m_settle.Tick(*this) ? 1 : 0;
}

}  // namespace TESK
