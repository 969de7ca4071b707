// TachyonCtrl: a framed square wave over the control's picture, whose number of periods
// shows a speed setting: 10 periods for speed 2, 20 for any other. The picture is the base
// control's strip (SetImage), stretched over the control. Made by both factories
// ("TachyonCtrl"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API TachyonCtrl : public MControlFont {
public:
  TachyonCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides, in slot order.
  ~TachyonCtrl() override;
  void DrawControl(HDC& dc, CRect dirty) override;

  // Repaints.
  void SetTachyonSpeed(int speed);

protected:
  void RenderWave(Gdiplus::Graphics& g, int width, int height);

  int m_periods;
};

}  // namespace TESK
