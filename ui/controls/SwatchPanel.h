// SwatchPanel: what the two swatch pickers (CColorPalette, CColorSelect) share. It adds no
// virtual operations to MPanel, so their slot order stays the panel's. The panel draws only
// the window's background under itself (its children draw themselves), takes the pointer
// while enabled without acting on it, swallows the wheel, and makes, places, finds and
// enables its colour-button children. UI thread only.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CColorButton;

class TESK_API SwatchPanel : public MPanel {
public:
  SwatchPanel(MObject* owner, UINT id, CRect rect, int visible);

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

protected:
  // A colour-button child of that group; null when the factory makes none.
  CColorButton* AddSwatch(UINT id, CRect rect, COLORREF colour, const wchar_t* group);
  // Moves child (when there is one) to rect and repaints the union of its old and new places.
  void PlaceChild(MControl* child, CRect rect);
  // Repaints the panel itself when visible.
  void RepaintPanel();
  // The first checked colour button among the ids first..last; ids without a child are skipped.
  CColorButton* FirstCheckedSwatch(UINT first, UINT last);
  // Each control whose enabled flag differs from enabled takes it and is repainted.
  static void EnableEach(const std::vector<MControl*>& controls, int enabled);
};

}  // namespace TESK
