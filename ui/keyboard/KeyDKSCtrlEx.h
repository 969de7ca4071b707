// KeyDKSCtrlEx: the advanced-key page's list of the stored advanced keys (DKS, MT, TGL, RS,
// SOCD, OKS) as 340 x 70 tiles, laid out in as many columns as the width takes and scrolled
// by the panel's vertical bar and the wheel. A tile shows its caption boxes, a picture of its
// kind (a frame of a 5-frame strip), the names of the keys it binds or its detail text, and a
// delete icon. A release over a tile selects it and tells the owner NOTIFY_ITEMICON on the
// delete icon (grown by 5 px) or NOTIFY_CLICKED elsewhere, both with (0, 0): the owner reads
// the pick with GetMacroValue or GetSelectItem.
//
// The tiles (ADVKEY_ITEM) and both pictures are owned by the control; the tile lock guards the
// list and is never held while the control calls out. Tile rectangles are set by every paint
// (control coordinates, scrolled) and the pointer hits those of the last paint. A panel whose
// only children are its bars (the horizontal one stays hidden). Made by the panel factory
// ("KeyDKSCtrlEx"); window thread only.
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

// One tile of KeyDKSCtrlEx.
struct ADVKEY_ITEM {
  CString caption;   // drawn in the first box
  CString caption2;  // drawn in the second box of kinds 17 to 19
  int kind = 0;      // the key's macro_type: 14 DKS, 15 MT, 16 TGL, 17 RS, 18 SOCD, 19 OKS
  CString key1, key2, key3, key4;  // names of the bound keys (kinds 14 to 16)
  int macroValue = 0;              // the owner's id of the advanced key
  std::unique_ptr<Gdiplus::Image> picture;  // never set by the list; freed with the tile
  int reserved1 = 0;
  int reserved2 = 0;
  CRect rect;          // control coordinates of the last paint, scrolled
  CString detailText;  // drawn by SOCD and OKS tiles
  int uniqueKey = 0;   // AddItem1 keeps one tile per key; 0 from AddItem
};

class TESK_API KeyDKSCtrlEx : public MPanel {
public:
  // enabled is not used: the list starts enabled.
  KeyDKSCtrlEx(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~KeyDKSCtrlEx() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // The kind pictures: a strip of five frames (relative to the skin folder); a file that does
  // not load leaves none.
  void SetIconFile(CString file);
  // The delete icon, a whole picture; without one a tile has no delete zone.
  void SetEditDelIconFile(CString file);
  // Appends a tile (its second caption the caption); the scroll range follows. Redraws.
  void AddItem(CString caption, int kind, CString key1, CString key2, CString key3, CString key4, int macroValue);
  // Appends a tile without key names unless one of that unique key exists. Redraws.
  void AddItem1(CString caption, CString caption2, int kind, int uniqueKey, CString detailText, int macroValue);
  // Frees one tile (nothing for an index naming none): no hover, no selection. Redraws.
  void DeleteItem(int index);
  // Frees every tile: no hover, no selection, no content, the bar hidden. Redraws.
  void DeleteAllItems();
  // The selected tile's macro value; 0 without a selection.
  int GetMacroValue();
  // The selected tile's macro value and a text from its names by its kind (1, 3, 5; other
  // kinds leave text untouched); both untouched without a selection.
  void GetMacroValue(int& value, CString& text);
  // Selects the first tile of that macro value (the selection stays without one). Redraws.
  void SetSelectValue(int macroValue);
  int GetSelectItem();

  // The content height of the last change: lines of tiles x 80.
  int GetContentHeight() const { return m_nContentHeight; }

private:
  // The width tiles are laid out in: the control's less the bar's.
  int LayoutWidth() const;
  // Appends the tile, unless uniqueKey is set and a tile of its unique key exists; then the
  // content follows and a redraw is asked for.
  void Append(std::unique_ptr<ADVKEY_ITEM> tile, bool uniqueKey);
  // Recomputes the content height from the tiles and fits the bar to it.
  void UpdateContent();
  // After tiles went: no hover, no selection, the content recomputed, a redraw.
  void AfterRemoval();
  // The delete icon's zone of a tile at rect (any coordinates); empty without a delete picture.
  CRect DeleteZone(const CRect& tile) const;
  void RenderTiles(Gdiplus::Graphics& g);
  void RenderTile(Gdiplus::Graphics& g, const Gdiplus::Font& font, const ADVKEY_ITEM& tile, bool highlighted,
                  bool overDelete);

  std::vector<std::unique_ptr<ADVKEY_ITEM>> m_tiles;
  CriticalSection m_tileLock;
  PaintedItemPointer m_pointer;
  bool m_overDelete;  // the pointer is over the hovered tile's delete icon
  int m_nTileHeight;
  int m_nContentHeight;
  ItemPicture m_kindStrip;  // five frames side by side
  ItemPicture m_deletePicture;
};

}  // namespace TESK
