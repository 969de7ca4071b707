// ScrolledTileList: the scrolled grid of caption tiles that KeyFuncType and the lighting page's
// MListBoxEx share, on FuncItemList's items and pointer rules (the release tells the owner
// NOTIFY_CLICKED (0, the selected index)). Tiles of a set size flow left to right with set gaps
// over a content height the owner sets; the panel's vertical bar takes that height at the next
// SetControlRect, and the bar and the wheel scroll the tiles. The horizontal bar stays hidden.
// Each derived list draws its own tiles (PlaceFuncTiles gives their places). Window thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/FuncItemList.h"

namespace TESK {

class TESK_API ScrolledTileList : public FuncItemList<MPanel, FUNC_TYPE_ITEM> {
public:
  // Overrides in their base slot order (the destructor and the pointer's are FuncItemList's).
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  // Ten of the bar's row steps a notch, down for direction 1; always taken.
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // Appends a tile; the picture file (relative to the skin folder) is loaded when it exists.
  // No redraw.
  void AddItem(CString caption, int data, CString pictureFile);
  void SetWitdhAndHeight(int width, int height);
  void SetItemSplit(int gapX, int gapY);
  // The content height; the bar takes it at the next SetControlRect. Redraws.
  void SetAllItemHeight(int height);

protected:
  ScrolledTileList(MObject* owner, UINT id, CRect rect, int visible, int tileWidth, int tileHeight, int gapX, int gapY);

  // The width the tiles flow in: the control's, less the bar's while it shows.
  int FlowWidth() const;
  // Places the tiles for a paint, scrolled by the bar. Item lock held.
  void PlaceTiles();

  int m_nTileWidth;
  int m_nTileHeight;
  int m_nGapX;
  int m_nGapY;
  int m_nContentHeight;
};

}  // namespace TESK
