// CArea: a filled rounded rectangle (corner radius 10) that decorates a window, translucent
// over what lies below it. Only the fill colour shows; the other values its setters take are
// stored and not drawn. Sends no notifications. Created by both factories
// and owned by its container; window thread only.
#pragma once

#include <windows.h>

#include "ui/controls/SurfaceCell.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControl.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CArea : public MControl {
public:
  CArea(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;

  // Stores the three values and re-renders; the colour (COLORREF) becomes the fill.
  void SetTransparent(int first, int second, COLORREF colour);
  // Stores width and colour and re-renders; the area draws no frame.
  void SetFrame(int width, Gdiplus::Color colour, int unused);

private:
  COLORREF m_fillColor;
  AreaTransparency m_transparency;
  int m_nFrameWidth;
  Gdiplus::ARGB m_frameColor;
};

}  // namespace TESK
