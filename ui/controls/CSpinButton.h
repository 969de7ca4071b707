// CSpinButton: a number field over the text engine with an up and a down image button (child
// ids 30 and 31) at its right edge. The value lives in the control; the engine's text is
// rewritten from it on every change, and typed text is read back, clamped into the range.
// The buttons step the value, wrapping at either end of the range, and notify the owner
// OnBaseMessage(own id, NOTIFY_VALUECHANGED, 0, 0); typing notifies nothing. The buttons are
// children of the field and go with it. Window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/MRichEdit.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// The decimal value of text: optional blanks, an optional sign, then digits up to the first
// other character; 0 when there are none. Values beyond an int saturate at its limits.
TESK_API int ParseSpinValue(const wchar_t* text);

class TESK_API CSpinButton : public MRichEdit {
public:
  CSpinButton(MObject* owner, UINT id, CRect rect, int visible, int other);

  // Overrides in their base slot order.
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect update) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  // Stores the flag (state and text colour stay) and passes it to the buttons.
  void SetControlEnabled(int enabled) override;
  void OnTxNotify(DWORD code, void* data) override;

  // Nothing when v is the current value; otherwise the text follows and the field is redrawn.
  void SetCurValue(int value);
  int GetCurValue() const { return m_nCurValue; }
  // Stored as given, without a check or a redraw.
  void SetRange(int minimum, int maximum) {
    m_nMinValue = minimum;
    m_nMaxValue = maximum;
  }
  int GetMinValue() const { return m_nMinValue; }
  int GetMaxValue() const { return m_nMaxValue; }

private:
  int m_nCurValue;
  int m_nMinValue;
  int m_nMaxValue;
  MControl* m_pUpButton;    // a child; the panel deletes it
  MControl* m_pDownButton;  // a child; the panel deletes it
};

}  // namespace TESK
