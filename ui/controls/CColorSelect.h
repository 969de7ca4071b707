// CColorSelect: a column of seven fixed colour swatches (ids 631..637, the last one white and
// bordered). Pressing one reports (own id, NOTIFY_COLORCHANGED, index 0..6, colour) and then
// passes the swatch's own notification on. The panel owns the swatches, made by InitControl.
// Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include "ui/controls/SwatchPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CColorSelect : public SwatchPanel {
public:
  CColorSelect(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides in their base slot order (the mouse and wheel handlers are SwatchPanel's).
  void InitControl(PaintManager* manager) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;

  // 0..6 checks that swatch (and clears the others), -1 clears all; other values do nothing.
  void SetColorIndex(int index);
  COLORREF GetSelectColor() { return 0; }
  void SetSelectColor(COLORREF) {}

private:
  static constexpr int kSwatches = 7;
  CColorButton* m_pSwatches[kSwatches];
};

}  // namespace TESK
