// KeyFuncValue: a grid of 80 x 36 function-value tiles, each a caption over the whole tile with
// an integer data value, that is also a drag source: a drag started on the hovered tile selects
// it and carries its picture; the drop's receiver asks GetCurValue what was dragged. A press on
// a tile selects it; the release tells the owner NOTIFY_CLICKED (0, the selected index). Items
// and pointer rules as FuncItemList. Made by both factories ("KeyFuncValue"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/FuncItemList.h"

namespace TESK {

class TESK_API KeyFuncValue : public FuncItemList<MControlFont, FUNC_TYPE_ITEM> {
public:
  // enabled is not used: the list starts enabled.
  KeyFuncValue(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order (the destructor and the pointer's are FuncItemList's).
  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlRect(CRect rect) override;
  HBITMAP GetControlDropBitmap() override;

  // Appends a tile; the picture file (relative to the skin folder) is loaded when it exists.
  // No redraw.
  void AddItem(CString caption, int data, CString pictureFile);
  // The selected tile's data and caption; both untouched when the selection names no tile.
  void GetCurValue(int& data, CString& caption);
};

}  // namespace TESK
