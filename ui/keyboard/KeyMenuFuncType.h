// KeyMenuFuncType: the function menu's list (MenuExWnd), a column of 70-pixel rows, each a
// caption over a description with an integer data value and a picture (loaded, not drawn).
// The hovered or selected row sits on a plate; a release over a row tells the owner
// NOTIFY_CLICKED (the row's data, 0). Items and pointer rules as FuncItemList. Made by both
// factories ("KeyMenuFuncType"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/FuncItemList.h"

namespace TESK {

class TESK_API KeyMenuFuncType : public FuncItemList<MControlFont, MENU_FUNC_ITEM> {
public:
  // enabled is not used: the list starts enabled.
  KeyMenuFuncType(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order (the destructor and the pointer's are FuncItemList's).
  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlRect(CRect rect) override;

  // Appends a row; the picture file (relative to the skin folder) is loaded when it exists.
  // No redraw.
  void AddItem(CString caption, CString description, int data, CString pictureFile);

private:
  void RenderRows(Gdiplus::Graphics& g);

  int m_nRowHeight;
};

}  // namespace TESK
