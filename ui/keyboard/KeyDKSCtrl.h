// KeyDKSCtrl: the grid on which the user composes a DKS advanced key. Four rows, one per
// bound key: a key slot at the row's right end, which takes a key picked or dropped while it
// is the selected cell, and four action cells under the four trigger points of a keystroke
// (press, bottom, release from the bottom, back at the top), on which the user draws action
// bars with the mouse. A row's bars are read and written as a DKS_ACTION_MASK (GetItemState,
// SetItemState), which the owner stores per bound key.
//
// The control tells its owner nothing: what the user changes stays in the cells until the
// owner reads them back; it only asks for repaints. The cells (and their pictures) are owned
// by the control and kept in one list under its lock; the grid exists from InitItem on.
// Cell rectangles are in control coordinates; the points given to the control are window
// client coordinates. Made by both factories ("KeyDKSCtrl"); window thread only.
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

namespace TESK {

// What a cell of the grid is.
enum DKS_CELL_KIND {
  DKS_CELL_SLOT = 1,       // key slot: caption, key value and key kind of a bound key
  DKS_CELL_DEPTH = 2,      // depth label: caption and depth in tenths of a millimetre
  DKS_CELL_ACTION = 6,     // action cell: may start a bar that ends in a cell of its row
  DKS_CELL_TEXT = 10,      // plain text (never made by the grid itself)
  DKS_CELL_POINT = 11,     // trigger-point picture
  DKS_CELL_SEPARATOR = 12  // column separator (not drawn)
};

struct DKS_CELL {
  CString text;         // caption of slots, labels and texts
  int kind = 0;         // a DKS_CELL_KIND
  int value = 0;        // the owner's integer (a slot's key value, a label's depth)
  int extra = 0;        // the owner's second integer (a slot's key kind)
  int end = 0;          // action cells: the index of the cell the bar ends in; 0 = no bar
  ItemPicture picture;  // action cells and trigger points; none when it did not load
  CRect rect;           // control coordinates
};

class TESK_API KeyDKSCtrl : public MControlFont {
public:
  KeyDKSCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides, in slot order.
  ~KeyDKSCtrl() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Builds the 32 cells of the grid anew (slots 0-3, trigger points 4-7, depth labels 8-11,
  // separators 12-15, action cells 16-31 in rows starting at 16, 20, 24 and 28) and gives
  // row 0 its default bars (mask 0xFF).
  void InitItem();
  // Frees every cell; no hover, no selection.
  void DeleteAllItems();
  // The three owner fields of any cell; an index outside the list does nothing.
  void SetItemValue(int index, CString text, int value, int extra);
  // Reads them; an index outside the list leaves the outputs as they were.
  void GetItemValue(int index, CString& text, int& value, int& extra);
  // Writes the selected cell as SetItemValue does, when it is a key slot; otherwise nothing.
  void SetCurValue(CString text, int value, int extra);
  // The bars of the row starting at index (16, 20, 24 or 28) from a DKS_ACTION_MASK; bits no
  // bar tests for give nothing. Any other index does nothing. No repaint.
  void SetItemState(int index, int mask);
  // The row's DKS_ACTION_MASK; for an index that starts no row, mask is left as it was.
  void GetItemState(int index, int& mask);
  // The cell's top-left corner in window coordinates; (0, 0) outside the list.
  CPoint GetItemPoint(int index);
  // Drop tracking while something is dragged over the window (pt in window coordinates): a
  // key slot under the pointer becomes the hovered cell, and on the next call with the
  // pointer still in it the selected one, which a drop then fills through SetCurValue.
  void DragMove(CPoint pt);
  // Removes the bar the action cell belongs to: its own, the bars of the row that run over
  // it from the left, and the row's other bars that end where it did.
  void ResetDKSItemState(int index);
  // Asks for a repaint; the point is not used.
  void CalDKSItemSelect(CPoint pt);

protected:
  // The bars of the row starting at rowStart; m_lock held.
  void DrawDKSPoint(Gdiplus::Graphics& g, int rowStart);

  std::vector<std::unique_ptr<DKS_CELL>> m_cells;
  CriticalSection m_lock;

private:
  void AddItem(CString text, int kind, int value, CRect rect, CString imageFile);
  DKS_CELL* Cell(int index) const;  // m_lock held; null outside the list
  // Whether index starts a complete row of four action cells; m_lock held.
  bool IsRowStart(int index) const;
  // The cell's rectangle in window coordinates; m_lock held.
  CRect WindowRect(const DKS_CELL& cell) const;
  // Pointer tracking shared by moves and drag-overs: the hover stays while its cell holds pt
  // (kept: true), else it becomes the first cell under pt of a kind that takes it. Returns
  // whether the hover changed.
  bool TrackHover(CPoint pt, bool slotsOnly, bool& kept);
  void DragTo(CPoint pt);
  void EndDrag(CPoint pt);
  void Repaint();
  void CancelDrag();

  int m_hover;
  int m_select;
  bool m_dragging;
  CPoint m_lastDragPoint;  // the last move counted
  CPoint m_dragOrigin;     // the start cell's left and top, window coordinates
  CPoint m_dragPoint;      // where the preview runs to; x 0 until a move counted
  int m_dragStart;         // the start cell's index; -1 without a drag
  int m_dragRowLast;       // the last cell of the dragged row
  int m_dragLimit;         // moves at or beyond this window x are not counted
  DKS_CELL* m_dragCell;
};

}  // namespace TESK
