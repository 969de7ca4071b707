// KeyDKSList: a scrollable one-column list of advanced-key rows, the row-list relative of the
// tile list KeyDKSCtrlEx. A row shows the list's row picture, one, two or four key boxes (by
// the list's type) and the two frames of an action strip at its right end. A release over a
// row selects it and tells the owner NOTIFY_ITEMICON on the right action, NOTIFY_ITEMICON2 on
// the left one and NOTIFY_CLICKED elsewhere, all with (0, 0). With its drag flag on, a row
// drags out as a picture.
//
// Only the rows in view are laid out and drawn; their rectangles (control coordinates) are set
// by each paint and the pointer hits those of the last paint. The rows (DKS_LIST_ITEM) and both
// pictures are owned by the control; the row lock guards the list and is never held while the
// control calls out. Made by both factories ("KeyDKSList"); window thread only.
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

// One row of KeyDKSList.
struct DKS_LIST_ITEM {
  CString caption;
  CString key1, key2, key3;
  int macroValue = 0;
  std::unique_ptr<Gdiplus::Image> picture;  // never set by the list; freed with the row
  int reserved1 = 0;
  int reserved2 = 0;
  CRect rect;  // control coordinates of the last paint
};

class TESK_API KeyDKSList : public MPanel {
public:
  // enabled is not used: the list starts enabled.
  KeyDKSList(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~KeyDKSList() override;
  int IsDragDrop() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  HBITMAP GetControlDropBitmap() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // 1: four key boxes (caption, key1 to key3), 3: two (caption, key1), anything else one.
  // No redraw.
  void SetCtrlType(int type);
  // The row picture (whole image, relative to the skin folder); none when it does not load.
  void SetIconFile(CString file);
  // The action strip: two frames side by side; none when it does not load.
  void SetEditDelIconFile(CString file);
  // Appends a row; the bar follows. Redraws.
  void AddItem(CString caption, CString key1, CString key2, CString key3, int macroValue);
  // The selected row's macro value; 0 without a selection.
  int GetMacroValue();
  // The selected row's macro value and a text from its names by the list's type (1, 3, 5;
  // other types leave text untouched); both untouched without a selection.
  void GetMacroValue(int& value, CString& text);
  // Frees one row (nothing for an index naming none): no hover, selection or rows in view.
  void DeleteItem(int index);
  // Frees every row, the bar hidden with a range of 0.
  void DeleteAllItems();
  int GetSelectItem();

  // The distance from one row's top to the next: the drawing's, 5 px more for types 1 and 3.
  int RowPitch() const;

private:
  // Fits the bar to the rows at the drawing's pitch.
  void UpdateBar();
  // After rows went: no hover, no selection, no rows in view, the bar fitted, a redraw.
  void AfterRemoval();
  void RenderRows(Gdiplus::Graphics& g);

  std::vector<std::unique_ptr<DKS_LIST_ITEM>> m_rows;
  CriticalSection m_rowLock;
  PaintedItemPointer m_pointer;
  int m_nType;
  ItemPicture m_rowPicture;
  ItemPicture m_actionStrip;  // two frames
  CRect m_rightZone;          // action zones relative to a row's top-left, set by each paint
  CRect m_leftZone;
  int m_nRowHeight;
  int m_nFirstVisible;  // -1 until drawn
  int m_nLastVisible;
};

}  // namespace TESK
