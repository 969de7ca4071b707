// MListBox: the library's owner-drawn list (a panel). It draws rows of text with an
// optional icon at the left, only the rows in view; highlights the hovered and the selected
// row; scrolls with the wheel (its bar stays hidden); offers the hovered row as a drag
// image; and, when enabled, lets the user change a row's text in place in a CEditWindow.
// The rows, the edit image and the row icon strip belong to the list; the edit window
// deletes itself with its window and clears the list's pointer to it. Notifications go to
// the owner (codes 1, 2, 3, 5 with the row in wParam; 29 with the edited row in lParam),
// each after the list's own state is final.
//
// UI thread only. The row lock guards the row vector: row reads by index, searches,
// insertions, swaps, deletions and the drawing loop take it; nothing is called out of the
// list while it is held.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CEditWindow;
class MImageList;

struct LISTBOX_ITEM {
  CString text;
  int image;   // stored with the row, not drawn
  long data;   // the caller's value
  RECT rect;   // set at each drawing, relative to the list's left edge and the first visible row's top
};

class TESK_API MListBox : public MPanel {
public:
  MListBox(MObject* owner, UINT id, CRect rect, int visible);
  ~MListBox() override;

  // Overrides in their base slot order.
  int PtInRect(CPoint pt) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  HBITMAP GetControlDropBitmap() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlLButtonDblClk(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  int OnControlRButtonUp(UINT keys, CPoint pt) override;
  using MControlFont::SetImage;
  int SetImage(const wchar_t* file, int frames) override;

  // Rows. Indexes outside 0 ... count - 1 give 0, -1 or "" and change nothing.
  // index -1 appends; otherwise the row goes before index. Returns count - 1.
  int InsertString(int index, const wchar_t* text, int image, long data);
  int AddString(const wchar_t* text, int image);
  int AddString(const wchar_t* text, long data, int image);
  int SetItemData(int index, long data);
  long GetItemData(int index);
  int ModifyItemString(int index, const wchar_t* text);
  CString GetItemText(int index);
  int GetItemCount();
  int FindString(const wchar_t* text);
  int FindItemData(long data);
  int SetCurSel(int index);
  int GetCurSel() const { return m_nSelect; }
  int SetCurData(long data);
  int GetCurData();
  int DeleteItem(int index);
  int DeleteAllItems();
  void SwapItem(int a, int b);
  // Heights below 1 are ignored.
  void SetItemHeight(int height);
  CRect GetItemRect(int index);

  // Images and the in-place edit.
  int SetEditImage(const wchar_t* file, int frames);
  int SetImageList(MImageList* list);
  void EnableShowEdit(int enable) { m_bEnableEdit = enable; }
  // Opens the edit over the selected row (editing enabled, list enabled, a row selected).
  void ShowEdit();
  // Ends the edit; with force 0 an edit of the selected row stays open. A changed text
  // becomes the row's and is reported with NOTIFY_EDITEND.
  void HideEdit(int force);
  // The edit area in window coordinates; empty while no row is edited.
  CRect GetTextRect();

protected:
  // The row of index, or null; the caller holds the row lock.
  LISTBOX_ITEM* Row(int index) const;
  CRect RowWindowRect(const LISTBOX_ITEM& row) const;
  int ViewWidth() const;
  // The bar hidden, its range count x R, then a repaint request.
  void RowsChanged();
  // Ends the edit as HideEdit does but leaves the report to the caller: the edited row
  // whose text changed, or -1.
  int EndEdit(int force);
  void ReportEditEnd(int row);
  // Ends an edit whose row index the coming change of rows at index would invalidate.
  void EndEditBefore(int index);
  void Repaint();

  std::vector<std::unique_ptr<LISTBOX_ITEM>> m_rows;
  CriticalSection m_rowLock;
  int m_nItemHeight;
  int m_nHover;
  int m_nSelect;
  std::unique_ptr<Gdiplus::StringFormat> m_pStringFormat;
  int m_nFirstVisible;
  int m_nLastVisible;
  int m_nTextMargin;
  MImageList* m_pImageList;
  int m_bEnableEdit;
  int m_nEditItem;
  int m_nFirstOffset;
  std::unique_ptr<Gdiplus::Image> m_pEditImage;
  int m_nEditFrameWidth;
  int m_nEditFrameHeight;
  CEditWindow* m_pEditWnd;
  // The row icon strip SetImage loaded (the base's strip pointer refers to it).
  std::unique_ptr<Gdiplus::Image> m_pRowIcons;
};

}  // namespace TESK
