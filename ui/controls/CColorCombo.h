// CColorCombo: a combo-like face that shows one colour swatch. It has no items and opens
// nothing: a press inside reports NOTIFY_PRESSED and a release inside NOTIFY_CLICKED, and the
// owner opens whatever picks the colour. Four cached cells (normal, hover, pressed,
// disabled); the disabled one is struck through in red. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CColorCombo : public MControlFont {
public:
  CColorCombo(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  void SetAreaColor(Gdiplus::Color colour);
  Gdiplus::ARGB GetAreaColor() const { return m_areaColour; }
  int GetState() const { return m_nState; }

private:
  // Shows another cell: the cached cells stay.
  void ShowState(int state);

  Gdiplus::ARGB m_areaColour;
  int m_nState;
};

}  // namespace TESK
