// CRecordList: the list of a macro's events on the macro page, one row per event with its
// delay in milliseconds, its kind and its name. The page appends rows while recording,
// inserts, moves and deletes them with its buttons and reads them back to store the macro;
// the user selects rows and changes a row's delay in place, in a digits-only CEditWindow
// laid over the row's delay column.
//
// The rows belong to the list; GetRecordItems hands out the records themselves, valid until
// the rows change. The edit window deletes itself with its window and clears the list's
// pointer to it. Notifications go to the owner last, after the list's own state is final:
// NOTIFY_PRESSED (the new selection), NOTIFY_RCLICKED (the row), NOTIFY_EDITEND (0, the
// row whose delay the edit changed); the edit window reports NOTIFY_TEXTCHANGED itself.
//
// UI thread only. The row lock guards the row vector: additions, insertions, deletions, the
// delay update, the edit and the drawing take it; nothing is called out of the list while
// it is held.
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

// One event of a macro as the list holds it.
struct RecordItem {
  CString name;  // key or button name
  int kind;      // 2 key down, 3 key up, 4 mouse button down, 5 mouse button up; others drawn as the delay
  int code;      // key or button code, kept for the owner
  int delay;     // milliseconds before the next event
  RECT rect;     // set at each drawing, relative to the list's left edge and the first visible row's top
};

class TESK_API CRecordList : public MPanel {
public:
  CRecordList(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides in their base slot order.
  ~CRecordList() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlLButtonDblClk(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  int OnControlRButtonUp(UINT keys, CPoint pt) override;

  // Appends a row, scrolls to the end; returns its index.
  int AddString(CString name, int kind, int code, int delay);
  // Inserts before index; -1, an empty list or an index outside the list appends. Scrolls
  // to the end and returns count - 1 whatever the index.
  int InsertString(int index, CString name, int kind, int code, int delay);
  // The delay of the last row; false on an empty list.
  bool UpdateDelayTime(int delay);
  int GetItemCount();
  int GetCurSel() const { return m_nSelect; }
  // 0 for an index below -1 or past the last row; otherwise 1 and the row (-1: none) selected.
  int SetCurSel(int index);
  void SetItemHeight(int height);
  // Out-of-range indexes give 0 and change nothing.
  int DeleteItem(int index);
  int DeleteAllItems();
  // Exchanges two different rows in range; no redraw (the page selects afterwards).
  void SwapItem(int a, int b);
  // Stored, not drawn.
  int SetImageList(MImageList* list);
  // The list's own records in order.
  std::vector<RecordItem*> GetRecordItems();
  // Opens the delay edit over the selected row (editing on, list enabled, a row selected
  // and a row hovered).
  void ShowEdit();

protected:
  // Ends the edit and stores its delay; with force 0 an edit of the selected row stays open.
  void HideEdit(int force);
  // The delay column of the edited row in window coordinates (empty while none is edited).
  void GetTextRect(CRect& rect);
  // HideEdit without the report: the row whose delay changed, or -1.
  int EndEdit(int force);
  void ReportEditEnd(int row);
  // Closes an open edit without storing what was typed (its row is about to go or move).
  void DropEdit();
  // The row of index or null; the caller holds the row lock.
  RecordItem* Row(int index) const;
  CRect RowWindowRect(const RecordItem& row) const;
  int ContentHeight();
  // The bar shown exactly when the rows do not fit, its range the rows' height.
  void FitRows();
  int InsertRow(int index, CString name, int kind, int code, int delay);
  void Repaint();

  std::vector<std::unique_ptr<RecordItem>> m_rows;
  CriticalSection m_rowLock;
  int m_nItemHeight;
  int m_nHover;
  int m_nSelect;
  int m_nFirstVisible;
  int m_nLastVisible;
  int m_nFirstOffset;
  // The scroll offset of the cached drawing (-1 none).
  int m_nDrawnOffset;
  int m_nEditItem;
  int m_bEnableEdit;
  CEditWindow* m_pEditWnd;
  MImageList* m_pImageList;
  std::unique_ptr<Gdiplus::StringFormat> m_pStringFormat;
};

}  // namespace TESK
