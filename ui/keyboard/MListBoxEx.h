// MListBoxEx: the lighting page's scrollable grid of caption tiles (150 x 40 by default, gaps of
// 25 and 13), each carrying an integer (the light mode), on ScrolledTileList: the grid flows
// left to right over a content height the owner sets; the panel's vertical bar and the wheel
// scroll it. A press on a tile selects it and the release tells the owner NOTIFY_CLICKED
// (lParam: the selected index), also when it was selected already; the owner reads the data
// with GetCurData. Nothing is drawn until the owner has set a content height
// (SetAllItemHeight); the pictures named for the tiles are kept but not drawn. Made by the
// panel factory ("MListBoxEx"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ScrolledTileList.h"

namespace TESK {

class TESK_API MListBoxEx : public ScrolledTileList {
public:
  // enabled is not used: the list starts enabled.
  MListBoxEx(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order (the others are ScrolledTileList's).
  void DrawControl(HDC& dc, CRect dirty) override;

  // The number of tiles.
  int GetLightCount();

private:
  void RenderTiles(Gdiplus::Graphics& g);
};

}  // namespace TESK
