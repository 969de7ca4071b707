// CRoundArea: a filled rectangle, plain or with rounded corners (radius 20), with an optional
// frame; the program's panel backgrounds and separators. An area smaller than 10 px either
// way is drawn as a plain filled rectangle without frame. Sends no notifications. Created by
// both factories and owned by its container; window thread only.
#pragma once

#include <windows.h>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControl.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CRoundArea : public MControl {
public:
  CRoundArea(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;

  // Each stores and re-renders.
  void SetColor(Gdiplus::Color fill);
  // 0: plain rectangle; anything else: rounded.
  void SetRound(int round);
  // The frame's flag, colour and pen width.
  void SetFrame(int on, Gdiplus::Color colour, int width);

private:
  Gdiplus::ARGB m_fillColor;
  int m_bRound;
  int m_nRadius;
  int m_bFrame;
  Gdiplus::ARGB m_frameColor;
  int m_nFrameWidth;
};

}  // namespace TESK
