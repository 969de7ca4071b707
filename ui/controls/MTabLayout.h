// MTabLayout: the plain page panel that sits under a tab of MTabCtrl. It draws nothing of
// its own and takes the mouse only over its children, so a click on an empty spot of the
// page reaches whatever lies below. It receives its parent's ticks (run-timer flag set).
// Owned like any panel: by its window's engine, or by the tab control that created it.
#pragma once

#include <windows.h>

#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MTabLayout : public MPanel {
public:
  MTabLayout(MObject* owner, UINT id, CRect rect, int visible);
  ~MTabLayout() override;

  // Overrides in their base slot order.
  void DrawControl(HDC& dc, CRect dirty) override;
  int DrawSubControls(HDC& dc, CRect dirty) override;
  int OnCheckMouseResponse(UINT keys, CPoint pt) override;
};

}  // namespace TESK
