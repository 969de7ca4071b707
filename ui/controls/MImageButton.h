// MImageButton: a picture button without a title: the first frame of its strip centred on the
// control, over a rounded highlight in the hover and down cells (the disabled cell looks like
// the normal one). Input as MButton, hand cursor included. Created by the factories, always
// enabled; window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MImageButton : public MControlFont {
public:
  MImageButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The highlight colours of the hover and down cells; no repaint.
  void SetHoverColor(Gdiplus::Color fill, Gdiplus::Color frame);
  void SetDownColor(Gdiplus::Color fill, Gdiplus::Color frame);
  int GetState() const { return m_nState; }

private:
  int m_nState;
  CRect m_rcImage;
  Gdiplus::ARGB m_hoverFill;
  Gdiplus::ARGB m_hoverFrame;
  Gdiplus::ARGB m_downFill;
  Gdiplus::ARGB m_downFrame;
};

}  // namespace TESK
