// MSpinButton: a self-drawn numeric field with up and down image buttons (children 30 and 31)
// at its right edge. While it has the focus flag it takes digits (appended to the value's
// text, or starting again when the text would grow past the limit length), Backspace, and
// the arrow and plus/minus keys (steps that wrap around the range). Every step and typed
// digit reports (id, NOTIFY_VALUECHANGED, 0, 0), changed or not; SetCurValue reports
// nothing. A panel so that its buttons are children it owns. Created by the factories; UI
// thread only.
#pragma once

#include <windows.h>

#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MControlFont;

class TESK_API MSpinButton : public MPanel {
public:
  MSpinButton(MObject* owner, UINT id, CRect rect, int visible, int unused);

  // Overrides in their base slot order.
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;

  // No range check and no notification; redrawn when it changes.
  void SetCurValue(int value);
  int GetCurValue() const { return m_nCurValue; }
  // Stored as given, unchecked.
  void SetRange(int minimum, int maximum) {
    m_nMinValue = minimum;
    m_nMaxValue = maximum;
  }
  void SetLimitLength(int length) { m_nLimitLength = length; }
  int GetState() const { return m_nState; }

protected:
  // Appends digit to the value's text (or starts again past the limit length), wraps values
  // outside the range to its other end, and reports.
  void CalcValue(int digit);

private:
  // Stores value, redraws when it changed, and reports in every case.
  void TakeValue(int value);
  void StepUp();
  void StepDown();
  void Backspace();
  // Stores state and redraws when it changed; 1 for a change, else 0.
  int SetState(int state);

  int m_nState;  // 0 normal, 1 hover, 2 pressed, 3 disabled
  int m_nCurValue;
  int m_nMinValue;
  int m_nMaxValue;
  int m_nLimitLength;
  MControlFont* m_pUpButton;
  MControlFont* m_pDownButton;
};

}  // namespace TESK
