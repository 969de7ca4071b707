// KeyFuncType: a scrollable grid of function-type tiles (80 x 70 by default, gaps of 10), each a
// picture above a caption with an integer data value, on ScrolledTileList: the owner sets the
// content height that the panel's vertical bar and the wheel scroll. A press on a tile selects
// it; the release tells the owner NOTIFY_CLICKED (0, the selected index). Made by both
// factories ("KeyFuncType"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ScrolledTileList.h"

namespace TESK {

class TESK_API KeyFuncType : public ScrolledTileList {
public:
  // enabled is not used: the list starts enabled.
  KeyFuncType(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order (the others are ScrolledTileList's).
  void DrawControl(HDC& dc, CRect dirty) override;
};

}  // namespace TESK
