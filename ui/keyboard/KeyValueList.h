// KeyValueList: the functions of one function group of the key page as a grid of 55-pixel
// tiles, each a caption (which may hold a line break) and an integer value (a media usage,
// a function code, a macro number ...). A release over a tile selects it and tells the owner
// NOTIFY_CLICKED (wParam: the tile's index), also when it was selected already; the owner
// reads the pick with GetSelectKeyValue or GetCurValue. The list is a drag source: a drag
// started on the hovered tile selects it (silently) and carries its picture, and the drop's
// receiver asks the list for the selected tile.
//
// Tiles flow left to right in rows 60 px apart; a tile captioned "Reset" ends its row. The
// tiles (and the pictures named for them, kept but not drawn) are owned by the control; the
// tile lock guards their list and is never held while the control calls out. Tile
// rectangles are set by every paint, and the pointer hits those of the last one. An index
// that names no tile (the 0 that ClearAllItems leaves on an empty list) reads and draws as
// no selection. Made by both factories ("KeyValueList"); window thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ItemPicture.h"
#include "ui/keyboard/PaintedItemPointer.h"

namespace TESK {

class TESK_API KeyValueList : public MControlFont {
public:
  KeyValueList(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~KeyValueList() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  HBITMAP GetControlDropBitmap() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Appends a tile and returns its index. A non-empty pictureFile (relative to the skin
  // folder) is loaded and kept with the tile; one that does not load leaves it without.
  int AddKeyInfo(int value, CString caption, CString pictureFile);
  // -1 selects nothing; otherwise the first tile of that value is selected, and with none
  // the selection stays. Redraws.
  void SetSelectKeyValue(int value);
  // The selected tile's value, with its caption; 0xFFFFFFFF and caption untouched without one.
  unsigned long GetSelectKeyValue(CString& caption);
  // Both outputs from the selected tile; both untouched without one.
  void GetCurValue(int& value, CString& caption);
  // Frees every tile: no hover, and the selection on index 0, so that the first tile added
  // next counts as selected. Redraws.
  void ClearAllItems();

  // A rounded rectangle (corner radius) filled, and outlined when penWidth is not 0.
  static void DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, float radius,
                                Gdiplus::Color fill, float penWidth, Gdiplus::Color pen);
  // A filled rectangle with a 1-pixel outline one pixel inside, and with corner a triangle in
  // the outline's colour at the top-right corner.
  static void DrawRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, Gdiplus::Color pen,
                           Gdiplus::Color fill, bool corner);

private:
  struct Tile {
    int value = 0;
    CString caption;
    ItemPicture picture;  // kept, not drawn
    CRect rect;  // control coordinates of the last paint
  };

  // Lays the tiles out and draws them into the control's cell.
  void RenderTiles(Gdiplus::Graphics& g);

  std::vector<std::unique_ptr<Tile>> m_tiles;
  CriticalSection m_tileLock;
  PaintedItemPointer m_pointer;
};

}  // namespace TESK
