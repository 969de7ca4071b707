// MScroll: the self-drawn scroll bar of the library, the common part of CScrollVertical and
// CScrollHorizontal. A bar keeps a range, a position in 0 ... range, a page (the visible
// share, chosen by the bar when 0) and a row step, and places a thumb whose length follows
// page / range. Track clicks and thumb drags move the position and report it to the owner
// with OnBaseMessage(bar id, NOTIFY_CHANGING, position, 0). Panels own their two bars
// (ids 1 and 2) as children. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// Thumb length for a track of that many pixels: the page's share of the track, at least
// half the end margin; a result under 100 becomes min(track - 50, 100). A range that is not
// positive counts as a page covering everything, so nothing divides by zero.
TESK_API int ScrollThumbLength(int track, int page, int range, int endMargin);

class TESK_API MScroll : public MControlFont {
public:
  MScroll(MObject* owner, UINT id, CRect rect, int visible);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlRect(CRect rect) override;

  // Added after MControlFont's, in this order. MScroll's own do nothing and return 0.
  virtual int MoveRange(int delta);
  virtual int SetRange();
  virtual int SetRangeEx();

  int SetScrollCurrentPos(int pos);
  int SetScrollCurrentPosEx(int pos);
  int SetScrollBeginPos();
  int SetScrollFinalPos();
  int SetScrollMaxRange(int range);
  int SetScrollSize(int page, int step);
  int SetScrollInfo(int range, int pos, int page, int step);
  // Moves rows x step, limited to 0 ... range; 1 when the position changed.
  int ScrollRow(int rows);
  int GetScrollMaxRange() const { return m_nRange; }
  int GetScrollCurrentPos() const { return m_nPos; }
  int GetScrollPage() const { return m_nPage; }
  int GetScrollStep() const { return m_nStep; }
  int IsChangeing() const { return m_bChanging; }
  int IsThumbShown() const { return m_bThumbShown; }
  CRect GetThumbRect() const { return CRect(m_rcThumb); }

protected:
  // The axis helpers below serve both concrete bars: vertical selects y / top / bottom,
  // otherwise x / left / right.
  int AxisLength(bool vertical) const;
  int AxisStart(bool vertical) const;
  int AxisEnd(bool vertical) const;
  int ThumbStart(bool vertical) const;
  int ThumbEnd(bool vertical) const;
  static int Coordinate(CPoint pt, bool vertical) { return vertical ? pt.y : pt.x; }
  void ChoosePage(bool vertical);
  // Places the thumb for ratio (0 ... 1 of the scrollable track) and sets thumb shown.
  void PlaceThumb(bool vertical, double ratio);
  // Position of a thumb that starts offset pixels into the track.
  int PositionAt(int offset, bool vertical) const;
  int MoveThumb(bool vertical, int delta);
  int MouseMove(bool vertical, CPoint pt, int& anchor);
  int LButtonDown(bool vertical, CPoint pt, int& anchor);
  int LButtonUp(CPoint pt, int& anchor);
  void RepaintState();
  // Image from the engine's cache (the library's module for resources); frame count kept.
  ImgResInfo* LoadStrip(UINT id, CString type, int frames);
  ImgResInfo* LoadStrip(const wchar_t* file, int frames);
  // Renders the cache when it is invalid: the background below, then, with a thumb shown,
  // DrawThumb into the cache; finally the cache goes to dc.
  void DrawCached(HDC& dc, void (*drawThumb)(MScroll& bar, HDC cache));

  int m_nThumbState;
  int m_bInside;
  int m_bThumbShown;
  int m_nEndMargin;
  int m_nRange;
  int m_nPos;
  int m_nPage;
  int m_nStep;
  RECT m_rcThumb;
  int m_bAutoPage;
  int m_bChanging;
};

}  // namespace TESK
