// ColorView: a grid of preset colour swatches on a dark panel. The pointer highlights the
// swatch under it; a click selects it and reports (id, NOTIFY_CLICKED, 0, 0), and the owner
// reads the choice with GetSelectColor. The swatch list is the view's own, guarded by its
// lock for drawing, hit tests and clearing; calls come on the window's thread. Created by
// the panel factory.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API ColorView : public MControlFont {
public:
  ColorView(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Appends the 48 preset swatches (6 rows of 8) to the list as it is; no repaint.
  void InitColorView();
  // Removes every swatch and the hover and selection; the selected colour stays.
  void ClearAllItem();
  COLORREF GetSelectColor() const { return m_selectColor; }
  int GetItemCount();
  int GetHoverIndex() const { return m_nHover; }

private:
  struct Swatch {
    Gdiplus::ARGB colour;
    RECT rect;  // relative to the control's top-left corner
  };
  // The first swatch containing the window point pt; -1 for none. Under the lock.
  int HitTest(CPoint pt);

  std::vector<Swatch> m_items;
  CriticalSection m_itemLock;
  int m_nHover;
  int m_nSelected;
  COLORREF m_selectColor;
};

}  // namespace TESK
