// MLevelCtrl: a row of level segments from minimum to maximum; every segment up to the level
// is lit. A click on a segment chooses its level and reports (id, NOTIFY_CLICKED, level, 0)
// to the owner when it changed. Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MLevelCtrl : public MControlFont {
public:
  MLevelCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Clamped to minimum ... maximum; re-rendered when it changed.
  void SetLevelValue(int level);
  // Stored only: the level is neither clamped nor repainted.
  void SetRangeValue(int minimum, int maximum) {
    m_nMinLevel = minimum;
    m_nMaxLevel = maximum;
  }
  int GetLevelValue() const { return m_nLevel; }

private:
  int SegmentCount() const { return m_nMaxLevel - m_nMinLevel + 1; }

  int m_nLevel;
  int m_nMinLevel;
  int m_nMaxLevel;
  int m_nSegmentHeight;
};

}  // namespace TESK
