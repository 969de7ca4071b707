// CirclePalette: shows a picture (a colour wheel) with a small ring as its thumb. Pressing or
// dragging within 90 pixels of the control's centre picks the colour the window shows under
// the pointer and reports (id, NOTIFY_COLORCHANGED, 0, colour); every release reports
// (id, NOTIFY_CLICKED, 0, colour) with the colour of the last pick. A drag picks again only
// after the pointer moved more than 5 pixels on either axis. The picture belongs to the
// window's image cache. Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CirclePalette : public MControlFont {
public:
  CirclePalette(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  // The picture from the engine's cache, without a repaint.
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;

  COLORREF GetSelectColor() const { return m_selectColor; }
  // Picks the window's pixel under the cursor when pt lies within 90 pixels of the centre
  // and the thumb moves; 0 always.
  int MoveThumbPos(CPoint pt);
  // Whole pixels from the control's centre to pt.
  int GetDistanse(CPoint pt) const;
  int GetState() const { return m_nState; }
  CRect GetThumbRect() const { return m_rcThumb; }

private:
  int m_nState;  // 0 idle, 1 pointer over the thumb, 2 dragging
  CRect m_rcThumb;
  COLORREF m_selectColor;
  CPoint m_lastPoint;
};

}  // namespace TESK
