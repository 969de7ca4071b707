// CScrollVertical: the vertical scroll bar (a panel's child with id 1). It draws a flat
// track and thumb, pulls a thumb placed past its end back and recomputes the position,
// and offers SetRangeEx, which measures the position against range minus its height.
// Owned by its panel; UI thread only.
#pragma once

#include "ui/controls/MScroll.h"

namespace TESK {

class TESK_API CScrollVertical : public MScroll {
public:
  CScrollVertical(MObject* owner, UINT id, CRect rect, int visible);

  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;
  int MoveRange(int delta) override;
  int SetRange() override;
  int SetRangeEx() override;

private:
  void DrawFlat(HDC cache);
  void PullBackThumb();
  int m_nDragAnchor;  // y where the thumb was last moved, -1 without a drag
};

}  // namespace TESK
