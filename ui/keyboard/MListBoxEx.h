// MListBoxEx: the lighting page's scrollable grid of caption tiles, each carrying an integer
// (the light mode). The grid flows left to right over a content height the owner sets; the
// panel's vertical bar and the wheel scroll it. A press on a tile selects it and the release
// tells the owner NOTIFY_CLICKED (lParam: the selected index), also when it was selected
// already; the owner reads the data with GetCurData.
//
// Nothing is drawn until the owner has set a content height (SetAllItemHeight). Tile
// rectangles are set by every paint, shifted by the scroll offset, and the pointer hits those
// of the last paint. The tiles (and the pictures named for them, kept but not drawn) are owned
// by the control; the tile lock guards their list and is never held while the control calls
// out. A panel whose only child is its vertical bar (the horizontal one stays hidden). Made by
// the panel factory ("MListBoxEx"); window thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ItemPicture.h"
#include "ui/keyboard/PaintedItemPointer.h"

namespace TESK {

class TESK_API MListBoxEx : public MPanel {
public:
  // enabled is not used: the list starts enabled.
  MListBoxEx(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~MListBoxEx() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // Appends a tile; the picture file (relative to the skin folder) is loaded when it exists.
  void AddItem(CString caption, int data, CString pictureFile);
  // Frees every tile: no hover, no selection. Redraws.
  void ClearList();
  // Selects the first tile of that data (the selection stays without one); redraws either way.
  void SetCurData(int data);
  int GetItemData(int index);  // 0 for an index naming no tile
  int GetCurData();            // 0 without a selected tile
  // Stores index as the selected one as given; an index naming no tile selects nothing that
  // is read or drawn. Redraws when it changed.
  void SetSelectItem(int index);
  int GetSelectItem();
  int SetItemText(int index, CString caption);  // 1, or 0 for an index naming no tile
  CString GetItemText(int index);               // empty for an index naming no tile
  void SetWitdhAndHeight(int width, int height);
  void SetItemSplit(int gapX, int gapY);
  // The content height; the bar takes it at the next SetControlRect. Redraws.
  void SetAllItemHeight(int height);
  int GetLightCount();

private:
  struct Tile {
    CString caption;
    int data = 0;
    ItemPicture picture;  // kept, not drawn
    CRect rect;  // control coordinates of the last paint, scrolled
  };

  void RenderTiles(Gdiplus::Graphics& g, int width);

  std::vector<std::unique_ptr<Tile>> m_tiles;
  CriticalSection m_tileLock;
  PaintedItemPointer m_pointer;
  int m_nTileWidth;
  int m_nTileHeight;
  int m_nGapX;
  int m_nGapY;
  int m_nContentHeight;
  int m_nOffset;  // the scroll offset of the last paint
};

}  // namespace TESK
