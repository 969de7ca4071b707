// ProfileList: a scrolled one-column list of named rows (profiles and the like), each with a
// caption, an integer data value and an optional small picture from the skin folder. Rows are
// 33 px high on a pitch of 36; the panel's vertical bar and the wheel scroll them. The
// selected or hovered row shows the control's picture strip (frame 0, frame 1 while the
// pointer is over it) in its action zone at the right end, and the selected row's caption
// can be changed in place in a CEditWindow laid over it.
//
// Notifications to the owner, last, after the list's own state is final: NOTIFY_CLICKED
// (0, the selected row) when a release picks a row, NOTIFY_PARTCLICKED (0, the row) when the
// release lies in that row's action zone, NOTIFY_EDITEND (0, the row) when an in-place edit
// closed with another caption; the bars' messages pass on unchanged.
//
// The rows belong to the list (FuncItemList's records). The edit window deletes itself with
// its window and clears the list's pointer to it; the list ends it in its destructor. Row
// rectangles are in the coordinates of the last paint's surface; the pointer hits the visible
// rows of that paint. UI thread only; the item lock guards the rows and is never held while
// the list calls out.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/FuncItemList.h"

namespace TESK {

class CEditWindow;

class TESK_API ProfileList : public FuncItemList<MPanel, FUNC_TYPE_ITEM> {
public:
  // enabled is not used: the list starts enabled.
  ProfileList(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~ProfileList() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // Appends a row (its picture loaded when the skin file exists), fits the bar to the rows
  // and moves it to the end of its range; returns the row's index.
  int AddItem(CString caption, int data, CString pictureFile);
  // No rows, nothing hovered, selected or edited; an open edit closes without storing.
  void ClearList();
  // Removes the row (an index naming no row changes nothing); hover, selection and edit are
  // forgotten and an open edit closes without storing.
  void DeleteItem(int index);
  // Scrolls to the top whatever the argument.
  void SetScrollPos(int position);
  // The selected row's data and caption; both left as they are without a selected row.
  void GetCurValue(int& data, CString& caption);

  // Opens the in-place edit on the selected row (enabled list, a row selected).
  void ShowEdit();
  // Closes it, storing a changed caption; with force 0 an edit of the selected row stays open.
  void HideEdit(int force);
  // The edit's place in window coordinates: the edited row's caption area; empty while no row
  // is under edit.
  void GetTextRect(CRect& rect);

protected:
  static constexpr int kPitch = 36;
  static constexpr int kRowHeight = kPitch - 3;

  // Closes an open edit without storing what was typed (its row goes).
  void DropEdit();
  // rows x 36, the content the bar scrolls.
  int ContentHeight();
  void FitRows();
  // Where a row's rectangle of the last paint is in the window.
  CRect RowOnWindow(const FUNC_TYPE_ITEM& row) const;
  // The visible row of the last paint whose window rectangle holds pt, or -1. Item lock held.
  int VisibleRowAt(CPoint pt) const;
  bool InZone(int index, CPoint pt) const;  // item lock held
  void RenderRows(Gdiplus::Graphics& g, int width);

  int m_nEditItem;
  int m_nZoneHover;  // 0 while the pointer is over the hovered row's action zone, else -1
  int m_nScrollOffset;
  int m_nFirstVisible;
  int m_nLastVisible;
  int m_nFirstOffset;
  CRect m_actionZone;  // relative to a row's top-left corner
  CEditWindow* m_pEditWnd;
};

}  // namespace TESK
