// KeyStrokeCtrl: the key-travel picture as a column, 200 px standing for the whole travel,
// filled from the actuation point down, with the actuation in millimetres above it and a
// legend of four switch types beside it, the current type marked by two triangles. Pressing
// a legend row tells the owner NOTIFY_PARTCLICKED (lParam the row), and so does releasing on
// it; a release anywhere else is the picture's NOTIFY_CLICKED. The input on the column, the
// dead zones and the settling are KeyStrokeBase's. Made by both factories ("KeyStrokeCtrl").
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"
#include "ui/keyboard/KeyStrokeBase.h"

namespace TESK {

class TESK_API KeyStrokeCtrl : public KeyStrokeBase {
public:
  KeyStrokeCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides, in slot order.
  ~KeyStrokeCtrl() override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The switch type and its travel in steps, which the column's 200 px stand for; a travel
  // below 1 is ignored.
  void SetKeyStrokeInfo(int switchType, int travel);
  // top: the top dead zone; bottom: the steps between the upper bound and the limit.
  void GetDeadzoneValue(int& top, int& bottom) const;

  static constexpr int kLegendRows = 4;

protected:
  void RenderTravel(Gdiplus::Graphics& g, int width, int height) override;
  // The legend row under pt (window coordinates) in the last paint; -1 for none.
  int LegendRowAt(CPoint pt) const;
  void DrawLegend(Gdiplus::Graphics& g);

  CRect m_legendArea;               // window coordinates, set by the last paint
  CRect m_legendRows[kLegendRows];  // window coordinates, set by the last paint
};

}  // namespace TESK
