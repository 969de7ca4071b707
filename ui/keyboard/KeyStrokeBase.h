// KeyStrokeBase: what the two key-travel pictures share. A picture stands for one key's travel
// (0 at the top of the key, the limit at the bottom, in 0.02 mm steps) and lets the user set
// the actuation point on it by a press, a drag or the wheel, inside the dead zones the program
// gives: never above the top dead zone nor below the upper bound, at least 5, and in bottom
// rapid-trigger mode at least 10 steps above the upper bound. Each drag step and each notch
// tells the owner NOTIFY_CHANGING (lParam the new actuation); a release tells it
// NOTIFY_CLICKED, and so does the first tick more than 200 ms after the last notch, handed to
// the window's thread. KeyStrokeCtrl (a column) and KeyStrokeCtrl2 (a bar) draw the travel,
// lay out the press area along their axis and say how the travel maps to the switch table.
//
// Threads: the window's, except OnControlTimer (the multimedia timer thread, which touches
// only the settling) and SetKeyActuation (the device worker's live travel, kept atomically,
// its repaint queued with the engine). The pictures named by SetImage are kept, not drawn.
#pragma once

#include <windows.h>

#include <atomic>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ItemPicture.h"
#include "ui/keyboard/WheelSettle.h"

namespace TESK {

class TESK_API KeyStrokeBase : public MControlFont {
public:
  // Overrides, in slot order.
  ~KeyStrokeBase() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlTimer() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // The actuation as given, unclamped; repaints when it changes.
  void SetCurKeyActuation(int actuation);
  int GetCurKeyActuation() const { return m_actuation; }
  // Dead zones from the switch table: shown, the upper bound is the switch's deepest step less
  // bottom and the top dead zone is top; hidden, the deepest step and 0. A switch type the
  // table lacks keeps the upper bound. The actuation is then brought inside the two.
  void SetDeadzoneValue(int top, int bottom);
  void ShowDeadZone(int show);
  void ShowRelkeystroke(int show);
  // In bottom rapid-trigger mode an actuation deeper than 10 steps above the upper bound is
  // raised to it (and repainted).
  void SetBottomrapidtriggerMode(int mode);
  // The key's live travel from the device worker (any thread); kept, repainted when it changes.
  void SetKeyActuation(int travel);
  using MControlFont::SetImage;
  // The key picture and the second picture from the skin folder, replacing the former ones.
  void SetImage(CString keyImage, CString secondImage);
  void SetThumbImage(CString name);
  void SetCurDevType(int type) { m_devType = type; }

protected:
  enum class Axis { Vertical, Horizontal };
  KeyStrokeBase(MObject* owner, UINT id, CRect rect, int visible, int enabled, Axis axis);

  // Draws the picture over the window's background, anti-aliased (shapes and text), into a
  // width x height surface; DrawControl calls it while the cached picture is stale.
  virtual void RenderTravel(Gdiplus::Graphics& g, int width, int height) = 0;

  // The shared part of SetKeyStrokeInfo: limit and upper bound become limit, span pixels
  // stand for it, and a deeper actuation is raised to it. A limit below 1 is ignored whole.
  void SetTravel(int switchType, int limit, double span);
  // The switch's deepest step from the table; -1 for a type the table lacks.
  int TableLimit() const;
  // The actuation rule.
  int Constrain(long long actuation) const;
  // The actuation a point (window coordinates) stands for along the press area.
  int ActuationAt(CPoint pt) const;
  // The press area's length in pixels: the limit times the scale.
  int SpanPixels() const;

  Axis m_axis;
  int m_switchType;
  int m_actuation;
  int m_limit;
  double m_scale;  // pixels per step
  std::atomic<int> m_liveTravel;
  int m_topDeadzone;
  int m_upperBound;
  int m_showDeadzone;
  int m_showRelStroke;
  int m_bottomRtMode;
  ItemPicture m_keyPicture;
  ItemPicture m_secondPicture;
  ItemPicture m_thumbPicture;
  int m_devType;
  CRect m_pressArea;  // window coordinates, set by the last paint
  bool m_dragging;
  CPoint m_lastPoint;
  WheelSettle m_settle;
  // A repaint of the live travel was asked for and the picture is not rendered yet: a stream
  // of samples asks once per paint, not once per sample.
  std::atomic<bool> m_liveRepaintPending;
};

}  // namespace TESK
