// CTextArea: a title centred on a filled rectangle, optionally with a 1-px frame. The values
// SetTransparent takes besides the colour are stored and not drawn. Sends no notifications.
// Only the window engine's factory makes it; owned by its container; window thread only.
#pragma once

#include <windows.h>

#include "ui/controls/SurfaceCell.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CTextArea : public MControlFont {
public:
  CTextArea(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;

  // Stores the values and re-renders; the colour (COLORREF) becomes the background.
  void SetTransparent(int first, int second, COLORREF colour);
  // The frame's flag and colour; re-renders. The third value is not used.
  void SetFrame(int on, Gdiplus::Color colour, int unused);

private:
  COLORREF m_backColor;
  AreaTransparency m_transparency;
  int m_bFrame;
  Gdiplus::ARGB m_frameColor;
};

}  // namespace TESK
