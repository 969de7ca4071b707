// KeySwitchCtrl: the performance page's switch picker, two coloured buttons with the names
// of the first two switch types. Pressing a button tells the owner NOTIFY_PARTCLICKED
// (lParam the button, 0 or 1), and so does releasing on it; a release outside the hit area
// is NOTIFY_CLICKED, and so is the first tick more than 200 ms after a wheel notch, handed to
// the window's thread (the wheel changes nothing else). It takes the key-travel pictures'
// setters so that the page drives all three alike, and keeps only the switch type, the names
// and the device type. The hit area reaches as far right as the control's right edge has
// window pixels; the third and fourth names have no button. Made by the panel factory
// ("KeySwitchCtrl"); the window's thread, ticks on the multimedia timer's.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/WheelSettle.h"

namespace TESK {

class TESK_API KeySwitchCtrl : public MControlFont {
public:
  KeySwitchCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides, in slot order.
  ~KeySwitchCtrl() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlTimer() override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // Keeps the switch type (the travel is not used) and repaints; the picture stays the same.
  void SetKeyStrokeInfo(int switchType, int travel);
  // Keeps the four names; the first two are drawn from the next paint on.
  void SetSwitchName(CString first, CString second, CString third, CString fourth);
  // One of the four names; empty for an index naming none.
  CString GetSwitchName(int index) const { return index >= 0 && index < kNames ? m_names[index] : CString(); }
  using MControlFont::SetImage;
  // Taken and ignored, as the key-travel pictures' setters of the same names are called.
  void SetImage(CString, CString) {}
  void SetThumbImage(CString) {}
  void SetCurDevType(int type) { m_devType = type; }

  static constexpr int kNames = 4;

protected:
  void RenderButtons(Gdiplus::Graphics& g);
  // The button under pt (window coordinates) in the last paint; -1 for none.
  int ButtonAt(CPoint pt) const;

  int m_switchType;
  CString m_names[kNames];
  CRect m_hitArea;        // window coordinates, from the last paint
  CRect m_rows[kNames];   // control coordinates, from the last paint; the last two stay empty
  WheelSettle m_settle;
  int m_devType;
};

}  // namespace TESK
