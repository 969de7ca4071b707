// MSlider: a horizontal slider with a track, a fill in the select colour up to a round white
// thumb, and an optional "<title><value>%" caption under it. Each of the maximum - minimum + 1
// values owns an equal share of the track. A press or drag that changes the value reports
// (id, NOTIFY_CHANGING, value, 0); every release, and every wheel step that changes the value,
// reports (id, NOTIFY_CLICKED, 0, 0). Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MSlider : public MControlFont {
public:
  MSlider(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // Cut to the maximum; a new value >= 0 is stored (the minimum is not applied), the thumb
  // placed and the slider re-rendered. Returns the progress.
  int SetProgress(int progress);
  int GetProgress() const { return m_nProgress; }
  // Range setters store only: neither the thumb nor the drawing follows until the next value.
  void SetMaxProgress(int maximum) { m_nMaxProgress = maximum; }
  int GetMaxProgress() const { return m_nMaxProgress; }
  void SetMinProgress(int minimum) { m_nMinProgress = minimum; }
  int GetMinProgress() const { return m_nMinProgress; }
  void SetShowText(int show) { m_bShowText = show; }
  void SetScale(int scale) { m_nScale = scale; }
  void SetSelectColor(Gdiplus::Color color);
  // The value under the pointer becomes the progress; NOTIFY_CHANGING when it changed.
  // Returns the value.
  int MoveThumbPos(CPoint pt);

  int GetState() const { return m_nState; }
  CRect GetThumbRect() const { return CRect(m_rcThumb); }

private:
  // Track length: the control's width less the thumb's; the range of thumb offsets.
  int TrackLength() const { return m_rect.Width() - m_nThumbWidth; }
  bool HasRange() const { return m_nMaxProgress > m_nMinProgress; }
  void PlaceThumb(int offset);
  // MoveThumbPos without the notification; true when the value changed.
  bool TakeValueAt(CPoint pt);
  bool OnThumb(CPoint pt) const { return CRect(m_rcThumb).PtInRect(pt); }

  int m_nState;  // 0 normal, 1 pointer over the thumb, 2 dragging
  int m_nProgress;
  int m_nMinProgress;
  int m_nMaxProgress;
  int m_nThumbWidth;
  int m_nThumbHeight;
  int m_nScale;
  RECT m_rcThumb;
  int m_bShowText;
  Gdiplus::ARGB m_selectColor;
};

}  // namespace TESK
