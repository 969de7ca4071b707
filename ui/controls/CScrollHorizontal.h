// CScrollHorizontal: the horizontal scroll bar (a panel's child with id 2). It draws a thin
// line and a thumb cut from its image strip (rows 1 to 3: normal, hover, dragged). Owned by
// its panel; UI thread only.
#pragma once

#include "ui/controls/MScroll.h"

namespace TESK {

class TESK_API CScrollHorizontal : public MScroll {
public:
  CScrollHorizontal(MObject* owner, UINT id, CRect rect, int visible);

  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;
  int MoveRange(int delta) override;
  int SetRange() override;

private:
  void DrawStrip(HDC cache);
  int m_nDragAnchor;  // x where the thumb was last moved, -1 without a drag
};

}  // namespace TESK
